#!/bin/bash
# The tavo command: build, dump and their round trip; errors name the file.
set -u
tavo=$1
examples=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

"$tavo" build "$examples/sample.csv" --mm --utf8 -o "$dir/a.jwc" || fail "build of the sample"
"$tavo" dump "$dir/a.jwc" -o "$dir/a.csv" || fail "dump to a file"
"$tavo" build "$dir/a.csv" -o "$dir/b.jwc" || fail "build of the dump"
cmp -s "$dir/a.jwc" "$dir/b.jwc" || fail "build of a dump differs from the original"
"$tavo" dump "$dir/b.jwc" > "$dir/b.csv"
cmp -s "$dir/a.csv" "$dir/b.csv" || fail "dump of the rebuilt drawing differs"
grep -q '^Moji,.*,"2026-12-06, Tavo"$' "$dir/a.csv" || fail "quoted text field"
# Shift-JIS bytes unchanged by default, UTF-8 on request.
printf '\x95\xbd\x96\xca\x90\x7d' > "$dir/sjis"
grep -q -F -f "$dir/sjis" "$dir/a.csv" || fail "dump should keep Shift-JIS bytes"
"$tavo" dump --utf8 "$dir/a.jwc" | grep -q '^Comment,Tavo sample,平面図$' || fail "--utf8 dump"
"$tavo" dump --utf8 "$dir/a.jwc" > "$dir/u.csv"
"$tavo" build --utf8 "$dir/u.csv" -o "$dir/u.jwc" && cmp -s "$dir/a.jwc" "$dir/u.jwc" || fail "--utf8 round trip"
"$tavo" build "$dir/a.csv" --paper 0 --scale 50 -o "$dir/c.jwc" || fail "build with options"
"$tavo" info "$dir/c.jwc" | grep -q '^Paper: A0' || fail "--paper"
"$tavo" info "$dir/c.jwc" | grep -q '^Scale: 50$' || fail "--scale"
"$tavo" info "$dir/a.jwc" > "$dir/info"
grep -q '^Lines: 13$' "$dir/info" && grep -q '^Texts: 5$' "$dir/info" && grep -q '^Comment2: 平面図$' "$dir/info" \
    || fail "info: $(cat "$dir/info")"

# Settings: factory values from an empty folder, one key written.
export TAVO_SETTINGS_DIR="$dir/settings"
"$tavo" config > "$dir/config" || fail "config"
grep -q '^Source=factory$' "$dir/config" && grep -q '^JwcScale=100$' "$dir/config" \
    && grep -q "^FilePath=$dir/settings/\$" "$dir/config" || fail "config: $(cat "$dir/config")"
[ -e "$dir/settings" ] && fail "reading the settings created the folder"
"$tavo" config set jwcscale 0x32 && "$tavo" config set CeckDot 0 && "$tavo" config set Comment1 平面図 \
    || fail "config set"
"$tavo" config > "$dir/config"
grep -q '^Source=tavo.ini$' "$dir/config" && grep -q '^JwcScale=50$' "$dir/config" \
    && grep -q '^CeckDot=0$' "$dir/config" && grep -q '^Comment1=平面図$' "$dir/config" \
    || fail "config after set: $(cat "$dir/config")"
rm -rf "$dir/settings"

# Export of the sample worksheet with the factory settings.
"$tavo" export "$examples/sheet.csv" --utf8 -o "$dir/sheet.txt" || fail "export to JWW"
"$tavo" export "$examples/sheet.csv" --utf8 -o "$dir/sheet.jwc" || fail "export to .jwc"
"$tavo" export "$examples/sheet.csv" --utf8 --to jww -o "$dir/sheet.out" && cmp -s "$dir/sheet.txt" "$dir/sheet.out" \
    || fail "--to jww"
head -c 4 "$dir/sheet.txt" | od -c | grep -q 'h   d  \\r  \\n' || fail "JWW starts with hd CR LF"
grep -q $'^lc10 13434879\r$' "$dir/sheet.txt" || fail "solid colour record"
"$tavo" info "$dir/sheet.jwc" | grep -q '^Scale: 100$' || fail "sheet scale"
"$tavo" info "$dir/sheet.jwc" | grep -q '^Lines: 13$' || fail "sheet lines"

# JWT text and conversions of a loaded drawing.
"$tavo" jwt "$dir/a.jwc" > "$dir/a.jwt" || fail "jwt"
head -1 "$dir/a.jwt" | grep -q $'^;<<JWT.Format.Text>>\r$' || fail "jwt header"
grep -q $'^L2,240,10.00,10.00,410.00,10.00,1,2\r$' "$dir/a.jwt" || fail "jwt in millimetres"
for ext in txt jwt jwc; do
    "$tavo" convert "$dir/a.jwc" -o "$dir/conv.$ext" || fail "convert to .$ext"
done
"$tavo" info "$dir/conv.jwc" | grep -q '^Lines: 13$' || fail "converted .jwc"

# Errors: "tavo: FILE: what is wrong" and a non-zero status.
expect_error() {
    local pattern=$1; shift
    if "$@" > /dev/null 2> "$dir/err"; then fail "no error from: $*"; return; fi
    grep -q -- "$pattern" "$dir/err" || fail "error of '$*' was: $(cat "$dir/err")"
}
expect_error "^tavo: $dir/missing.jwc: " "$tavo" info "$dir/missing.jwc"
head -c 2400 "$dir/a.jwc" > "$dir/short.jwc"
expect_error "^tavo: $dir/short.jwc: file ends at byte 2400, 11 more bytes needed for line record 1 of 13" "$tavo" dump "$dir/short.jwc"
printf 'Sen,1,2,3\n' > "$dir/bad.csv"
expect_error "^tavo: $dir/bad.csv: line 1: Sen needs 9 fields" "$tavo" build "$dir/bad.csv" -o "$dir/x.jwc"
printf 'Drawing,3,1\nSen,1,2,3,4,1,2,300,0,0\n' > "$dir/bad.csv"
expect_error "^tavo: $dir/bad.csv: line 2: field 7 is not a whole number from 0 to 255" \
    "$tavo" build "$dir/bad.csv" -o "$dir/x.jwc"
printf 'Circle,1\n' > "$dir/bad.csv"
expect_error "unknown kind \"Circle\"" "$tavo" build "$dir/bad.csv" -o "$dir/x.jwc"
expect_error "^tavo: $dir/nofolder/x.jwc: " "$tavo" build "$dir/a.csv" -o "$dir/nofolder/x.jwc"
expect_error "needs -o" "$tavo" build "$dir/a.csv"
expect_error "unknown command" "$tavo" frobnicate
expect_error "unknown settings key" "$tavo" config set NoSuchKey 1
expect_error "must end in" "$tavo" convert "$dir/a.jwc" -o "$dir/conv.png"
printf 'AddLine,1,2,3\n' > "$dir/bad.csv"
expect_error "^tavo: $dir/bad.csv: line 1: AddLine needs 7 fields" "$tavo" export "$dir/bad.csv" -o "$dir/x.txt"
expect_error "^tavo: $dir/nofolder/x.txt: " "$tavo" export "$examples/sheet.csv" -o "$dir/nofolder/x.txt"
[ -e "$dir/x.jwc" ] && fail "a failed build left a file"

[ $fails -eq 0 ] && echo "cli: all checks passed"
exit $fails
