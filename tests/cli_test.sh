#!/bin/bash
# The tavo command: build, dump and their round trip, info, config, export,
# jwt and convert; errors name the file.
source "$(dirname "$0")/cli_support.sh"

"$tavo" build "$examples/sample.csv" --mm --utf8 -o "$dir/a.jwc" || fail "build of the sample"
"$tavo" dump "$dir/a.jwc" -o "$dir/a.csv" || fail "dump to a file"
"$tavo" build "$dir/a.csv" -o "$dir/b.jwc" && cmp -s "$dir/a.jwc" "$dir/b.jwc" || fail "build of a dump differs"
head -1 "$dir/a.csv" | grep -q '^# encoding: shift_jis$' || fail "dump names its encoding"
grep -q '^Moji,.*,"2026-12-06, Tavo"$' "$dir/a.csv" || fail "quoted text field"
"$tavo" dump --encoding utf8 "$dir/a.jwc" | grep -q '^Comment,Tavo sample,平面図$' || fail "--encoding utf8 dump"
"$tavo" build "$dir/a.csv" --paper 0 --scale=50 -o "$dir/c.jwc" || fail "build with options"

# info of several files, as text and JSON; a bad one is reported, the rest shown.
"$tavo" info --json "$dir/a.jwc" "$dir/missing.jwc" "$dir/c.jwc" > "$dir/info.json" 2> "$dir/err"
[ $? -eq 1 ] || fail "info --json with a missing file exits 1"
python3 - "$dir/info.json" <<'PY' || fail "info --json: $(cat "$dir/info.json")"
import json, sys
a, missing, c = json.load(open(sys.argv[1]))
assert (a["lines"], a["scale"], a["comment2"], a["paper"]) == (13, 100, "平面図", "A3"), a
assert "error" in missing and missing["file"].endswith("missing.jwc"), missing
assert (c["layout"]["paper_index"], c["scale"]) == (0, 50), c
PY
"$tavo" info "$dir/a.jwc" "$dir/missing.jwc" "$dir/c.jwc" > "$dir/info" 2> "$dir/err"
[ $? -eq 1 ] && [ "$(grep -c '^File: ' "$dir/info")" -eq 2 ] && grep -q "^tavo: $dir/missing.jwc: " "$dir/err" \
    && grep -q '^Scale: 1:50$' "$dir/info" && grep -q '^Comment2: 平面図$' "$dir/info" \
    || fail "info of several files: $(cat "$dir/info" "$dir/err")"

# Settings: factory values from an empty folder; set, get and --json.
"$tavo" config > "$dir/config" || fail "config"
grep -q '^Source=factory$' "$dir/config" && grep -q "^FilePath=$dir/settings/\$" "$dir/config" \
    || fail "config: $(cat "$dir/config")"
[ -e "$dir/settings" ] && fail "reading the settings created the folder"
"$tavo" config set jwcscale 0x32 && "$tavo" config set Comment1 平面図 && "$tavo" config set PenNo "1, 1,2,2,3,3,4,4,5,6" \
    || fail "config set"
[ "$("$tavo" config get JWCSCALE)" = 50 ] && [ "$("$tavo" config get comment1)" = 平面図 ] || fail "config get"
"$tavo" config --json > "$dir/config.json" || fail "config --json"
python3 - "$dir/config.json" "$dir/settings/" <<'PY' || fail "config --json: $(cat "$dir/config.json")"
import json, sys
c = json.load(open(sys.argv[1]))
s = c["settings"]
assert (c["folder"], c["source"]) == (sys.argv[2], "tavo.ini"), c
assert (s["JwcScale"], s["IsSameScale"], s["Comment1"], s["PenNo"][9]) == (50, True, "平面図", 6), s
PY
# A value outside what the settings dialog allows is refused by every route.
cp "$dir/settings/tavo.ini" "$dir/ini.before"
expect_error 'Comment2: "😀" (U+1F600) has no Shift-JIS form' "$tavo" config set Comment2 😀
expect_error 'unknown settings key "NoSuchKey"' "$tavo" config set NoSuchKey 1
cmp -s "$dir/ini.before" "$dir/settings/tavo.ini" || fail "a refused value changed tavo.ini"
printf 'Drawing,-1,100\n' > "$dir/bad.csv"
expect_error 'line 1: field 1: PlotSize is a whole number from 0 to 4, not "-1"' "$tavo" build "$dir/bad.csv" -o "$dir/x.jwc"
rm -rf "$dir/settings"

# Export of the sample worksheet with the factory settings.
"$tavo" export "$examples/sheet.csv" --utf8 -o "$dir/sheet.txt" || fail "export to JWW"
head -c 4 "$dir/sheet.txt" | od -c | grep -q 'h   d  \\r  \\n' || fail "JWW starts with hd CR LF"
grep -q $'^lc10 13434879\r$' "$dir/sheet.txt" || fail "solid colour record"

# JWT text: tavo jwt and convert -o .jwt agree (real-world millimetres);
# --units sheet gives millimetres on the paper, as CopyToAsJwt after a load.
"$tavo" jwt "$dir/a.jwc" -o "$dir/a.jwt" || fail "jwt"
head -1 "$dir/a.jwt" | grep -q $'^;<<JWT.Format.Text>>\r$' || fail "jwt header"
grep -q $'^L2,240,1000.00,1000.00,41000.00,1000.00,1,2\r$' "$dir/a.jwt" || fail "jwt in real-world millimetres"
"$tavo" convert "$dir/a.jwc" -o "$dir/conv.jwt" && cmp -s "$dir/a.jwt" "$dir/conv.jwt" || fail "jwt and convert differ"
"$tavo" jwt "$dir/a.jwc" --units sheet -o - | grep -q $'^L2,240,10.00,10.00,410.00,10.00,1,2\r$' \
    || fail "jwt in millimetres on the paper"
# convert to .jwc keeps the drawing's scale, comments and records.
records() { "$tavo" dump "$1" | grep -a -E '^(Drawing|Comment|Sen|Enko|Moji|Ten),'; }
"$tavo" convert "$dir/c.jwc" -o "$dir/conv.jwc" && [ "$(records "$dir/conv.jwc")" = "$(records "$dir/c.jwc")" ] \
    || fail "convert to .jwc changed the drawing"
"$tavo" convert "$dir/a.jwc" -o "$dir/conv.txt" || fail "convert to .txt"
grep -q $'^ 1.000000E+003 1.000000E+003 4.100000E+004 1.000000E+003\r$' "$dir/conv.txt" || fail "JWW in real-world mm"

# Help, version and errors: "tavo: FILE: what is wrong" and a non-zero status.
"$tavo" --version | grep -q '^tavo [0-9]' || fail "--version"
for command in info dump build jwt convert export render config; do
    "$tavo" "$command" --help | head -1 | grep -q "^usage: tavo $command" || fail "$command --help"
done
head -c 2400 "$dir/a.jwc" > "$dir/short.jwc"
expect_error "^tavo: $dir/short.jwc: file ends at byte 2400, 11 more bytes needed for line record 1 of 13" "$tavo" dump "$dir/short.jwc"
printf 'Sen,1,2,3\n' > "$dir/bad.csv"
expect_error "^tavo: $dir/bad.csv: line 1: Sen needs 9 fields" "$tavo" build "$dir/bad.csv" -o "$dir/x.jwc"
expect_error "^tavo: $dir/nofolder/x.jwc: " "$tavo" build "$dir/a.csv" -o "$dir/nofolder/x.jwc"
expect_error "needs -o" "$tavo" build "$dir/a.csv"
expect_error "unknown command" "$tavo" frobnicate
printf 'AddLine,1,2,3\n' > "$dir/bad.csv"
expect_error "^tavo: $dir/bad.csv: line 1: AddLine needs 7 fields" "$tavo" export "$dir/bad.csv" -o "$dir/x.txt"
[ -e "$dir/x.jwc" ] || [ -e "$dir/x.txt" ] && fail "a failed command left a file"

finish "cli"
