#!/bin/bash
# The tavo command: build, dump and their round trip, info, config, export,
# jwt and convert; errors name the file.
source "$(dirname "$0")/cli_support.sh"
cd "$dir" || exit 1

"$tavo" build "$examples/sample.csv" --mm --utf8 -o a.jwc && "$tavo" dump a.jwc -o a.csv || fail "build and dump"
"$tavo" build a.csv -o b.jwc && cmp -s a.jwc b.jwc || fail "build of a dump differs"
head -1 a.csv | grep -q '^# encoding: shift_jis$' && grep -q '^Moji,.*,"2026-12-06, Tavo"$' a.csv || fail "dump's encoding, quoted text"
"$tavo" dump --encoding utf8 a.jwc | grep -q '^Comment,Tavo sample,平面図$' || fail "--encoding utf8 dump"
"$tavo" build a.csv --paper 0 --scale=50 -o c.jwc || fail "build with options"

# info of several files, as text and JSON; a bad one is reported, the rest shown.
"$tavo" info --json a.jwc missing.jwc c.jwc > info.json 2> err
[ $? -eq 1 ] || fail "info --json with a missing file exits 1"
json_check info.json "info --json" <<'PY'
a, missing, c = o
assert (a["lines"], a["scale"], a["comment2"], a["paper"]) == (13, 100, "平面図", "A3"), a
assert "error" in missing and missing["file"].endswith("missing.jwc"), missing
assert (c["layout"]["paper_index"], c["scale"]) == (0, 50), c
PY
"$tavo" info a.jwc missing.jwc c.jwc > info 2> err
[ $? -eq 1 ] && [ "$(grep -c '^File: ' info)" -eq 2 ] && grep -q "^tavo: missing.jwc: " err && grep -q '^Scale: 1:50$' info \
    && grep -q '^Comment2: 平面図$' info || fail "info of several files: $(cat info err)"

# Settings: factory values from an empty folder; set, get and --json.
"$tavo" config > config && grep -q '^Source=factory$' config && grep -q "^FilePath=$dir/settings/\$" config \
    || fail "config: $(cat config)"
[ -e settings ] && fail "reading the settings created the folder"
"$tavo" config set jwcscale 0x32 && "$tavo" config set Comment1 平面図 && "$tavo" config set PenNo "1, 1,2,2,3,3,4,4,5,6" \
    && [ "$("$tavo" config get JWCSCALE)" = 50 ] && [ "$("$tavo" config get comment1)" = 平面図 ] || fail "config set, get"
"$tavo" config --json > config.json || fail "config --json"
json_check config.json "config --json" "$dir/settings/" <<'PY'
s = o["settings"]
assert (o["folder"], o["source"]) == (sys.argv[2], "tavo.ini"), o
assert (s["JwcScale"], s["IsSameScale"], s["Comment1"], s["PenNo"][9]) == (50, True, "平面図", 6), s
PY
# A value outside what the settings dialog allows is refused by every route.
cp settings/tavo.ini ini.before
expect_error 'Comment2: "😀" (U+1F600) has no Shift-JIS form' "$tavo" config set Comment2 😀
expect_error 'unknown settings key "NoSuchKey"' "$tavo" config set NoSuchKey 1
cmp -s ini.before settings/tavo.ini || fail "a refused value changed tavo.ini"
printf 'Drawing,-1,100\n' > bad.csv
expect_error 'line 1: field 1: PlotSize is a whole number from 0 to 4, not "-1"' "$tavo" build bad.csv -o x.jwc
rm -rf settings

# Export of the sample worksheet with the factory settings.
"$tavo" export "$examples/sheet.csv" --utf8 -o sheet.txt || fail "export to JWW"
head -c 4 sheet.txt | od -c | grep -q 'h   d  \\r  \\n' && grep -q $'^lc10 13434879\r$' sheet.txt || fail "JWW's hd CR LF, colour"

# JWT text: tavo jwt and convert -o .jwt agree (real-world millimetres);
# --units sheet gives millimetres on the paper, as CopyToAsJwt after a load.
"$tavo" jwt a.jwc -o a.jwt && head -1 a.jwt | grep -q $'^;<<JWT.Format.Text>>\r$' || fail "jwt header"
grep -q $'^L2,240,1000.00,1000.00,41000.00,1000.00,1,2\r$' a.jwt || fail "jwt in real-world millimetres"
"$tavo" convert a.jwc -o conv.jwt && cmp -s a.jwt conv.jwt || fail "jwt and convert differ"
"$tavo" jwt a.jwc --units sheet -o - | grep -q $'^L2,240,10.00,10.00,410.00,10.00,1,2\r$' || fail "jwt in mm on the paper"
# convert to .jwc keeps the drawing's scale, comments and records.
records() { "$tavo" dump "$1" | grep -a -E '^(Drawing|Comment|Sen|Enko|Moji|Ten),'; }
"$tavo" convert c.jwc -o conv.jwc && [ "$(records conv.jwc)" = "$(records c.jwc)" ] || fail "convert to .jwc changed it"
"$tavo" convert a.jwc -o conv.txt && grep -q $'^ 1.000000E+003 1.000000E+003 4.100000E+004 1.000000E+003\r$' conv.txt \
    || fail "convert to JWW in real-world mm"

# Help, version and errors: "tavo: FILE: what is wrong" and a non-zero status.
"$tavo" --version | grep -q '^tavo [0-9]' || fail "--version"
for command in info dump build jwt convert export render config; do
    "$tavo" "$command" --help | head -1 | grep -q "^usage: tavo $command" || fail "$command --help"
done
head -c 2400 a.jwc > short.jwc
expect_error "^tavo: short.jwc: file ends at byte 2400, 11 more bytes needed for line record 1 of 13" "$tavo" dump short.jwc
printf 'Sen,1,2,3\n' > bad.csv
expect_error "^tavo: bad.csv: line 1: Sen needs 9 fields" "$tavo" build bad.csv -o x.jwc
expect_error "^tavo: nofolder/x.jwc: " "$tavo" build a.csv -o nofolder/x.jwc
expect_error "needs -o" "$tavo" build a.csv
expect_error "unknown command" "$tavo" frobnicate
printf 'AddLine,1,2,3\n' > bad.csv
expect_error "^tavo: bad.csv: line 1: AddLine needs 7 fields" "$tavo" export bad.csv -o x.txt
[ -e x.jwc ] || [ -e x.txt ] && fail "a failed command left a file"

finish "cli"
