#!/bin/sh
# Installs the build into a temporary prefix, then uses only what was
# installed: a separate C project through find_package(tavo) and through
# pkg-config, a Qt host that opens the installed help, the Python module,
# and the command.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR LIBDIR
set -eu
build=$1 source=$2 libdir=$3 work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" > "$work/install.log"
for f in "$libdir/libtavo.so.0" "$libdir/libtavo.so" include/tavo.h bin/tavo "$libdir/pkgconfig/tavo.pc" \
         "$libdir/cmake/tavo/tavoConfig.cmake" share/tavo/python/tavo.py share/tavo/help/en/1210.html \
         share/tavo/help/ja/1210.html share/man/man1/tavo.1 share/bash-completion/completions/tavo; do
    [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
soname=$(objdump -p "$prefix/$libdir/libtavo.so.0" | awk '$1 == "SONAME" {print $2}')
[ "$soname" = libtavo.so.0 ] || { echo "soname: $soname"; exit 1; }

mkdir "$work/run"
cmake -S "$source/tests/install_consumer" -B "$work/cmake" -DCMAKE_PREFIX_PATH="$prefix" > "$work/configure.log" \
    || { cat "$work/configure.log"; exit 1; }
cmake --build "$work/cmake" > "$work/build.log" || { cat "$work/build.log"; exit 1; }
"$work/cmake/consumer" "$work/run"

# The installed library finds the installed help page: a Qt host presses the
# help button, and a stand-in for xdg-open notes the page it is given.
mkdir "$work/browser"
printf '#!/bin/sh\necho "$1" > "%s/opened"\n' "$work" > "$work/browser/xdg-open"
chmod +x "$work/browser/xdg-open"
env -u TAVO_HELP_DIR LANG=C LANGUAGE= LC_ALL= LC_MESSAGES= QT_QPA_PLATFORM=offscreen TAVO_SETTINGS_DIR="$work/settings" \
    PATH="$work/browser:$PATH" "$work/cmake/qt_host" || { echo "the Qt host failed"; exit 1; }
for _ in $(seq 100); do [ -s "$work/opened" ] && break; sleep 0.05; done
[ "$(cat "$work/opened" 2> /dev/null)" = "file://$prefix/share/tavo/help/en/1210.html" ] \
    || { echo "help opened: $(cat "$work/opened" 2> /dev/null)"; exit 1; }

export PKG_CONFIG_PATH="$prefix/$libdir/pkgconfig"
# shellcheck disable=SC2046
cc -std=c11 -Wall -Werror -o "$work/pkgconfig-consumer" "$source/tests/install_consumer/consumer.c" \
    $(pkg-config --cflags --libs tavo) -Wl,-rpath,"$(pkg-config --variable=libdir tavo)"
"$work/pkgconfig-consumer" "$work/run"

# The installed module finds the installed library by itself.
env -u TAVO_LIBRARY PYTHONPATH="$prefix/share/tavo/python" python3 -c '
import sys, tavo
tavo.JwcCreate(3, 100)
tavo.JwcLoadFrom(sys.argv[1] + "/plan.jwc")
tavo.check()
assert tavo.GetSenCount() == 1 and tavo.lib._name.startswith(sys.argv[2]), tavo.lib._name
print("ok")' "$work/run" "$prefix"

"$prefix/bin/tavo" info "$work/run/plan.jwc" > /dev/null
echo "installed and used from $prefix"
