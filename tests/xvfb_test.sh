#!/bin/bash
# Starts an X server of its own (Xvfb) and runs the preview window's test
# PreviewInX in it on the xcb platform (the screenshot stays as SHOT), then
# the command's windows.
#   xvfb_test.sh GUI_FORMS_TEST TAVO EXAMPLES SHOT
set -u
program=$1 tavo=$2 examples=$3 shot=$4 dir=$(mktemp -d) xvfb=""
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number to the descriptor.
exec 3> "$dir/display"
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp > "$dir/xvfb.log" 2>&1 &
xvfb=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$dir/display" ] && break; sleep 0.05; done
[ -s "$dir/display" ] || { echo "FAIL: Xvfb did not start: $(cat "$dir/xvfb.log")"; exit 1; }
export DISPLAY=":$(head -n 1 "$dir/display")"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

"$tavo" build "$examples/sample.csv" --mm --utf8 -o "$dir/sample.jwc" || { echo "FAIL: build of the sample"; exit 1; }
# The preview (its screenshot stays as SHOT), and the settings dialog
# typed into by xdotool.
shots="$(dirname "$shot")/xvfb-settings"
rm -rf "$shot" "$shots" && mkdir -p "$shots"
status=0
for test in PreviewInX SettingsInX; do
    TAVO_SAMPLE_JWC="$dir/sample.jwc" TAVO_SCREENSHOT="$shot" TAVO_SCREENSHOT_DIR="$shots" "$program" \
        --gtest_filter="$test.*" > "$dir/out" 2>&1 || status=1
    cat "$dir/out"
    grep -q '^\[  PASSED  \] 1 test' "$dir/out" && ! grep -q 'SKIPPED' "$dir/out" || { echo "FAIL: $test did not run"; status=1; }
done

# The command's windows: tavo view of a workbook, and tavo export with the
# factory target (the preview), each closed with its first toolbar button
# (閉じる) clicked by xdotool; the window's keys land in tavo.ini.
export TAVO_SETTINGS_DIR="$dir/settings"
for command in "view --sheet 1 -- $examples/form.xlsx" "export $examples/form.xlsx"; do
    rm -rf "$dir/settings"
    # shellcheck disable=SC2086
    "$tavo" $command 2> "$dir/err" &
    pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --class tavo | head -n 1)
    [ -n "$window" ] && xdotool mousemove --window "$window" 20 20 click 1
    wait $pid; rc=$?
    [ -n "$window" ] && [ $rc -eq 0 ] || { echo "FAIL: tavo $command: window '$window', status $rc: $(cat "$dir/err")"; status=1; }
    grep -q '^Width=' "$dir/settings/tavo.ini" 2> /dev/null || { echo "FAIL: tavo $command kept no keys"; status=1; }
done
exit $status
