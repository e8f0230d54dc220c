#!/bin/bash
# Texts arrive as written: UTF-8 and Shift-JIS inputs detected or forced,
# characters without a Shift-JIS form refused by line, terminals shown the
# locale's text, files and pipes given Shift-JIS; spreadsheet CSV habits.
source "$(dirname "$0")/cli_support.sh"
export LC_ALL=C.UTF-8
cd "$dir" || exit 1
sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }

# The same worksheet in Shift-JIS and in a spreadsheet's habits (a header
# row, ";" between cells, decimal commas, CR LF) gives the same JWW file.
"$tavo" export "$examples/sheet.csv" --encoding utf8 -o want.txt || fail "export of the sample"
grep -q -F "$(sjis 資材数量表)" want.txt || fail "texts are stored as Shift-JIS"
python3 - "$examples/sheet.csv" <<'PY' | iconv -f UTF-8 -t CP932 > habits.csv
import csv, sys
out = csv.writer(sys.stdout, delimiter=";", lineterminator="\r\n")
out.writerow(["Kind", "X1", "Y1"])
for r in csv.reader(open(sys.argv[1], encoding="utf-8")):
    if r and not r[0].startswith("#"):
        out.writerow([r[0].lower()] + [c.replace(".", ",") if i <= 4 else c for i, c in enumerate(r) if i])
PY
for options in "" "--encoding sjis"; do  # detected, then forced
    # shellcheck disable=SC2086
    rm -f got.txt && "$tavo" export habits.csv $options -o got.txt && cmp -s want.txt got.txt || fail "habits.csv $options"
done

# Refused text names the line and the character, as written on a UTF-8
# terminal; nothing is written.
printf 'AddLine,1,2,3,4,1,241,1\nComment,\xf0\x9f\x98\x80,x\n' > emoji.csv && printf '\xef\xbb\xbfComment,a,b\n' > bom.csv
{ sjis 平面; echo ',1'; } > kind.csv
check_runs <<'TABLE'
1|^tavo: emoji.csv: line 2: "😀" (U+1F600) has no Shift-JIS form|export emoji.csv -o bad.txt
1|^tavo: bom.csv: starts with a UTF-8 byte-order mark but is read as Shift-JIS|export bom.csv --encoding sjis -o bad.txt
2|--encoding takes sjis or utf8|export bom.csv --encoding latin1 -o bad.txt
1|unknown kind "平面"|export kind.csv -o bad.txt
TABLE
[ -e bad.txt ] && fail "a refused text wrote a file"

# A drawing whose texts happen to be valid UTF-8 bytes survives dump and build:
# the dump's first line names its encoding.
printf 'Drawing,3,100\nComment,\xe5\xb9\xb3,x\n' > raw.csv
"$tavo" build raw.csv --encoding sjis -o raw.jwc && "$tavo" dump raw.jwc -o raw-dump.csv \
    && "$tavo" build raw-dump.csv -o raw2.jwc && cmp -s raw.jwc raw2.jwc || fail "dump and build of UTF-8-looking bytes"

# stdout, a pipe too, gets the locale's text (UTF-8 under the C locale); files keep Shift-JIS.
"$tavo" build "$examples/sample.csv" --mm -o a.jwc || fail "build of the sample, encoding detected"
on_terminal() { script -qec "$*" /dev/null; }
on_terminal "$tavo" dump a.jwc | grep -q '^Comment,Tavo sample,平面図' || fail "dump on a terminal"
LC_ALL=C "$tavo" jwt a.jwc | grep -q '^ST,.*"サンプル平面図"' || fail "jwt into a pipe under C"
"$tavo" dump a.jwc | "$tavo" build - -o piped.jwc && cmp -s a.jwc piped.jwc || fail "build of a dump through a pipe"
"$tavo" jwt a.jwc -o a.jwt && grep -q -a -F "$(sjis サンプル平面図)" a.jwt || fail "jwt into a file keeps Shift-JIS"
on_terminal "$tavo" build "$examples/sample.csv" -o - | grep -q "will not write a JW_CAD drawing to a terminal" \
    || fail "a drawing written to a terminal"

finish "cli text"
