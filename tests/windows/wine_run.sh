#!/bin/sh
# wine_run.sh PREFIX PROGRAM [ARGS...]: a Windows program of the tests under
# the 64-bit Wine, in a prefix of the build folder, seeing Japanese Windows
# (code page 932) and no display (the null driver's windows work but show
# nowhere). `--start` makes the prefix and keeps one Wine server for the run,
# `--stop` ends it. `--x NAME COMMAND...` runs COMMAND with Wine's programs
# shown in an X server of its own (Xvfb), in a copy PREFIX-x-NAME of the
# prefix (one Wine server has one display driver), so tests with different
# names run at the same time.
set -eu
prefix=$1
shift
# Wine takes code page 932 from the locale's name, and the Unix side of file
# names from the C library's locale, compiled here for the build since
# Debian installs none but C.UTF-8.
locales="$prefix/unix-locales"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export LOCPATH="$locales"
unset DISPLAY WAYLAND_DISPLAY TAVO_SETTINGS_DIR
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver64
[ -x "$server" ] || server=/usr/lib/wine/wineserver
case "${1:-}" in
--start)
    mkdir -p "$prefix"
    if [ ! -f "$locales/ja_JP.UTF-8/LC_CTYPE" ]; then
        mkdir -p "$locales"
        localedef -i ja_JP -f UTF-8 --no-archive "$locales/ja_JP.UTF-8" || [ -f "$locales/ja_JP.UTF-8/LC_CTYPE" ]
    fi
    # Goes a minute after the last program; an earlier run's serves as well.
    "$server" -p60 </dev/null >/dev/null 2>&1 || true
    # Wine's services start with the first program: started here, they hold
    # none of the test run's output open.
    if [ ! -f "$prefix/system.reg" ]; then
        "$wine" wineboot --init </dev/null >"$prefix/start.log" 2>&1
        "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >>"$prefix/start.log" 2>&1
        # The desktop keeps the driver wineboot found: a new server takes the null one.
        "$server" -k 2>/dev/null || true
        "$server" -w 2>/dev/null || true
        "$server" -p60 </dev/null >/dev/null 2>&1 || true
    fi
    "$wine" cmd /c exit </dev/null >>"$prefix/start.log" 2>&1
    ;;
--x)
    xprefix="$prefix-x-$2"
    shift 2
    if [ ! -f "$xprefix/user.reg" ]; then
        rm -rf "$xprefix"
        cp -a --reflink=auto "$prefix" "$xprefix"
        rm -f "$xprefix/wineserver"
        sed -i '/^"Graphics"="null"$/d' "$xprefix/user.reg"
    fi
    display="$xprefix/display"
    rm -f "$display"
    Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$display" >"$xprefix/xvfb.log" 2>&1 &
    xvfb=$!
    for _ in $(seq 200); do [ -s "$display" ] && break; sleep 0.05; done
    [ -s "$display" ] || { echo "FAIL: Xvfb did not start: $(cat "$xprefix/xvfb.log")"; exit 1; }
    export WINEPREFIX="$xprefix" LOCPATH="$xprefix/unix-locales" DISPLAY=":$(cat "$display")"
    status=0
    "$@" || status=$?
    "$server" -k 2>/dev/null || true
    kill "$xvfb" && wait "$xvfb" || true
    exit $status
    ;;
--stop)
    "$server" -k 2>/dev/null || true
    ;;
*)
    exec "$wine" "$@"
    ;;
esac
