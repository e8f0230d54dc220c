#!/bin/bash
# tavo render: PNG images of a worksheet CSV and of a .jwc, with no display
# and no platform chosen: the command must pick one that works.
source "$(dirname "$0")/cli_support.sh"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
# The signature and "WxH" from the PNG header.
png_size() { od -An -tu1 -N24 "$1" | tr -s ' \n' ' ' | awk '{ printf "%s%s%s%s %dx%d", $1, $2, $3, $4, $17*16777216+$18*65536+$19*256+$20, $21*16777216+$22*65536+$23*256+$24 }'; }
bytes() { wc -c < "$1"; }

"$tavo" render --export "$examples/sheet.csv" --utf8 -o "$dir/sheet.png" 2> "$dir/err" && [ ! -s "$dir/err" ] \
    || fail "render of the sheet: $(cat "$dir/err")"
[ "$(png_size "$dir/sheet.png")" = "137807871 1123x794" ] || fail "default size: $(png_size "$dir/sheet.png")"
# A blank sheet of the same size compresses to far less than a drawn one.
printf 'Comment,a,b\n' > "$dir/empty.csv"
"$tavo" render --export "$dir/empty.csv" -o "$dir/empty.png" || fail "render of an empty sheet"
[ "$(bytes "$dir/sheet.png")" -gt $(( $(bytes "$dir/empty.png") * 3 )) ] || fail "sheet.png looks blank"

"$tavo" build "$examples/entities.csv" --mm --utf8 -o "$dir/e.jwc" || fail "build of entities.csv"
"$tavo" render "$dir/e.jwc" -o "$dir/e.png" --size 800x566 && [ "$(png_size "$dir/e.png")" = "137807871 800x566" ] \
    || fail "--size: $(png_size "$dir/e.png")"
"$tavo" render "$dir/e.jwc" -o "$dir/e-all.png" --size 800x566 --select-all || fail "--select-all"
cmp -s "$dir/e.png" "$dir/e-all.png" && fail "--select-all drew nothing red"
expect_error "needs -o" "$tavo" render "$dir/e.jwc"
expect_error "--size needs WxH" "$tavo" render "$dir/e.jwc" -o "$dir/x.png" --size 0x10
expect_error "^tavo: $dir/missing.jwc: " "$tavo" render "$dir/missing.jwc" -o "$dir/x.png"

finish "render"
