#!/bin/bash
# tavo view: the usual errors for bad input, and no display reported at once.
set -u
tavo=$1
examples=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
export TAVO_SETTINGS_DIR="$dir/settings"
nodisplay() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$tavo" "$@"; }

expect_error() {
    local status=$1 pattern=$2; shift 2
    nodisplay "$@" > /dev/null 2> "$dir/err"
    local got=$?
    [ "$got" -eq "$status" ] || fail "status $got, not $status, from: $*"
    grep -q -- "$pattern" "$dir/err" || fail "error of '$*' was: $(cat "$dir/err")"
}
"$tavo" build "$examples/sample.csv" --mm --utf8 -o "$dir/sample.jwc" || fail "build of the sample"
printf 'not a drawing' > "$dir/bad.jwc"
printf 'AddLine,1,2\n' > "$dir/bad.csv"

expect_error 2 "give one FILE.jwc" view
expect_error 2 "give one FILE.jwc" view "$dir/sample.jwc" --export "$dir/bad.csv"
expect_error 2 "unknown option" view --size 10x10 "$dir/sample.jwc"
expect_error 1 "^tavo: $dir/missing.jwc: " view "$dir/missing.jwc"
expect_error 1 "^tavo: $dir/bad.jwc: " view "$dir/bad.jwc"
expect_error 1 "^tavo: $dir/bad.csv: line 1" view --export "$dir/bad.csv"
expect_error 1 "^tavo: no display is available" view "$dir/sample.jwc"
expect_error 1 "^tavo: no display is available" view --export "$examples/sheet.csv" --utf8
[ -e "$dir/settings/tavo.ini" ] && fail "a window that never showed wrote tavo.ini"

[ $fails -eq 0 ] && echo "view: all checks passed"
exit $fails
