#!/bin/bash
# tavo render: PNG images of a worksheet CSV and of a .jwc, with no display.
set -u
tavo=$1
examples=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
export TAVO_SETTINGS_DIR="$dir/settings"
# No display and no platform chosen: the command must pick one that works.
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$tavo" "$@"; }

# Width and height from the PNG header, "WxH".
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'; }
is_png() { [ "$(od -An -tx1 -N8 "$1" | tr -d ' ')" = "89504e470d0a1a0a" ]; }
bytes() { wc -c < "$1"; }

run render --export "$examples/sheet.csv" --utf8 -o "$dir/sheet.png" 2> "$dir/err" || fail "render of the sheet: $(cat "$dir/err")"
[ -s "$dir/err" ] && fail "render printed: $(cat "$dir/err")"
is_png "$dir/sheet.png" || fail "sheet.png is not a PNG"
[ "$(png_size "$dir/sheet.png")" = "1123x794" ] || fail "default size: $(png_size "$dir/sheet.png")"

# A blank sheet of the same size compresses to far less than a drawn one.
printf 'Comment,a,b\n' > "$dir/empty.csv"
run render --export "$dir/empty.csv" -o "$dir/empty.png" || fail "render of an empty sheet"
[ "$(bytes "$dir/sheet.png")" -gt $(( $(bytes "$dir/empty.png") * 3 )) ] \
    || fail "sheet.png looks blank ($(bytes "$dir/sheet.png") bytes, empty $(bytes "$dir/empty.png"))"

run build "$examples/entities.csv" --mm --utf8 -o "$dir/e.jwc" || fail "build of entities.csv"
run render "$dir/e.jwc" -o "$dir/e.png" --size 800x566 || fail "render of a .jwc"
[ "$(png_size "$dir/e.png")" = "800x566" ] || fail "--size: $(png_size "$dir/e.png")"
run render "$dir/e.jwc" -o "$dir/e-all.png" --size 800x566 --select-all || fail "--select-all"
cmp -s "$dir/e.png" "$dir/e-all.png" && fail "--select-all drew nothing red"
[ "$(bytes "$dir/e.png")" -gt 10000 ] || fail "e.png looks blank ($(bytes "$dir/e.png") bytes)"

expect_error() {
    local pattern=$1; shift
    if run "$@" > /dev/null 2> "$dir/err"; then fail "no error from: $*"; return; fi
    grep -q -- "$pattern" "$dir/err" || fail "error of '$*' was: $(cat "$dir/err")"
}
expect_error "needs -o" render "$dir/e.jwc"
expect_error "--size needs WxH" render "$dir/e.jwc" -o "$dir/x.png" --size 0x10
expect_error "^tavo: $dir/missing.jwc: " render "$dir/missing.jwc" -o "$dir/x.png"
expect_error "^tavo: $dir/nofolder/x.png: " render "$dir/e.jwc" -o "$dir/nofolder/x.png"

[ $fails -eq 0 ] && echo "render: all checks passed"
exit $fails
