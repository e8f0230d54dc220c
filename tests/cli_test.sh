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
[ -e "$dir/x.jwc" ] && fail "a failed build left a file"

[ $fails -eq 0 ] && echo "cli: all checks passed"
exit $fails
