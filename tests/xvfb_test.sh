#!/bin/bash
# Starts an X server of its own (Xvfb) and runs the preview window's test
# PreviewInX in it on the xcb platform; the screenshot stays as SHOT.
#   xvfb_test.sh GUI_FORMS_TEST TAVO EXAMPLES SHOT
set -u
program=$1
tavo=$2
examples=$3
shot=$4
dir=$(mktemp -d)
xvfb=""
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT
for tool in Xvfb xdotool xclip; do
    command -v "$tool" > /dev/null || { echo "FAIL: $tool is missing (make deps installs it)"; exit 1; }
done

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
rm -f "$shot"
TAVO_SAMPLE_JWC="$dir/sample.jwc" TAVO_SCREENSHOT="$shot" "$program" --gtest_filter='PreviewInX.*' \
    > "$dir/out" 2>&1
status=$?
cat "$dir/out"
grep -q '^\[  PASSED  \] 1 test' "$dir/out" && ! grep -q 'SKIPPED' "$dir/out" || { echo "FAIL: the test did not run"; status=1; }
[ -s "$shot" ] && echo "screenshot: $shot"
exit $status
