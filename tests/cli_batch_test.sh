#!/bin/bash
# tavo export for real work: several books in one call, settings for one
# call, the summary, the size against the paper, fills a .jwc cannot hold,
# inputs known by their content and read from pipes, messages in English
# under any locale, and range errors in one line.
source "$(dirname "$0")/cli_support.sh"
data=$3
cd "$dir" || exit 1

# Books as openpyxl writes them: two sheets (the second active, long and
# ruled, with a filled cell), and one small sheet.
/usr/bin/python3 - <<'PY' || fail "writing the books"
import openpyxl
from openpyxl.styles import Border, Side, PatternFill
thin = Side(style="thin")
book = openpyxl.Workbook()
book.active.title = "表紙"
book.active["A1"] = "見積"
sheet = book.create_sheet("材料表")
for r in range(1, 401):
    sheet.cell(r, 1, f"材料{r}").border = Border(top=thin, bottom=thin, left=thin, right=thin)
    sheet.cell(r, 2, r * 3)
sheet["B2"].fill = PatternFill("solid", fgColor="FFFF00")
book.active = 1
book.save("見積.xlsx")
book = openpyxl.Workbook()
book.active["A1"] = "和室"
book.active["A1"].border = Border(top=thin, bottom=thin)
book.save("small.xlsx")
PY
cp "$data/form.ods" form.ods
mkdir -p settings

# Batch: the outputs each input gives, named from the input and sheet, and the
# status; a failed input stops none of the others.
while IFS='|' read -r args status outputs lines; do
    # shellcheck disable=SC2086
    rm -rf out && "$tavo" export $args -o out/ 2> err; rc=$?
    [ $rc -eq "$status" ] && [ "$(grep -c '^tavo: ' err)" -eq "$lines" ] || fail "export $args: status $rc, $(cat err)"
    for f in $outputs; do [ -s "out/$f" ] || fail "export $args: no out/$f ($(ls out 2> /dev/null))"; done
    [ "$(ls out 2> /dev/null | wc -l)" -eq "$(echo $outputs | wc -w)" ] || fail "export $args wrote $(ls out)"
done <<'TABLE'
small.xlsx 見積.xlsx --sheet all -q|0|small-Sheet.jwc 見積-表紙.jwc 見積-材料表.jwc|1
form.ods --sheet all --to jww|0|form-表紙.txt form-明細.txt|2
small.xlsx missing.xlsx form.ods|1|small.jwc form.jwc|3
TABLE
grep -q "^tavo: missing.xlsx: cannot be opened" err || fail "the missing input named: $(cat err)"
expect_error "several outputs need -o DIR/" "$tavo" export small.xlsx form.ods -o one.jwc
cp small.xlsx a1.xlsx && cp small.xlsx a3.xlsx
"$tavo" export -q a1.xlsx form.ods a3.xlsx -o serial/ && "$tavo" export -q a1.xlsx form.ods a3.xlsx --jobs 2 -o parallel/ \
    && diff -r serial parallel > /dev/null || fail "--jobs 2 wrote other files than one at a time"

# Settings for this call: what the drawing shows, and tavo.ini untouched.
"$tavo" config set JwcScale 50 && cp settings/tavo.ini ini.before
printf '[Export]\nJwcScale=20\nPlotSize=1\n' > other.ini
while IFS='|' read -r options expected; do
    # shellcheck disable=SC2086
    "$tavo" export -q small.xlsx $options -o s.jwc 2> err || fail "$options: $(cat err)"
    "$tavo" info s.jwc | tr '\n' ' ' | grep -q "$expected" || fail "$options: not $expected: $("$tavo" info s.jwc | head -3)"
done <<'TABLE'
|Paper: A3 .*Scale: 1:50
--settings other.ini --scale 30|Paper: A1 .*Scale: 1:30
--paper a0 --scale 200|Paper: A0 .*Scale: 1:200
TABLE
cmp -s ini.before settings/tavo.ini || fail "a call with options wrote tavo.ini"
ls settings | grep -v '^tavo.ini\(.lock\)\?$' && fail "settings folder: $(ls settings)"
width() { /usr/bin/python3 -c 'import json,sys; print(round(json.load(sys.stdin)["extent"]["width_mm"]))'; }
[ "$("$tavo" export small.xlsx --dim-scale 0.7 --json -o d.jwc 2> /dev/null | width)" -eq \
  $((2 * $("$tavo" export small.xlsx --json -o d.jwc 2> /dev/null | width))) ] || fail "--dim-scale 0.7 draws twice as wide"

# Values out of range: one line, status 2, nothing written.
lines=1 check_runs <<'TABLE'
2|^tavo: JwcScale is a whole number from 1 to 1000, not "0"|config set JwcScale 0
2|^tavo: --dim-scale: DimScale is a number from 0.035|export small.xlsx --dim-scale 0 -o r.jwc
2|^tavo: --paper takes A0, A1, A2, A3 or A4, not "A5"|export small.xlsx --paper A5 -o r.jwc
2|^tavo: --scale: JwcScale is a whole number|render small.xlsx --scale x -o r.png
TABLE
[ -e r.jwc ] || [ -e r.png ] && fail "a refused call wrote a file"

# The summary: one line per output (a sheet that fits says nothing of its size), -v and -q.
lines=1 check_runs <<'TABLE'
0|^tavo: small.xlsx: sheet "Sheet" A1:A1 -> sum.jwc: 2 lines, 1 text, 0 arcs, 0 fills; [0-9]* x [0-9]* mm on the A3 paper at 1:50$|export small.xlsx -o sum.jwc
0|; settings: paper A3, scale 1:50, dim scale 0.35|export small.xlsx -v -o sum.jwc
TABLE
lines=0 check_runs <<< '0||export small.xlsx -q -o sum.jwc'
# The JSON object; the size against the paper and the fill a .jwc cannot hold told.
"$tavo" export 見積.xlsx --solid --json -o sum.jwc > json 2> err
json_check json "--json" <<'PY'
assert (o["input"], o["output"], o["sheet"], o["range"]) == ("見積.xlsx", "sum.jwc", "材料表", "A1:B400"), o
assert o["counts"] == {"lines": 403, "texts": 800, "arcs": 0, "points": 0, "fills": 1}, o["counts"]
assert (o["paper"]["size"], o["paper"]["scale"]) == ("A3", 50), o["paper"]
assert o["extent"]["times_paper"] > 1 and o["extent"]["fitting_scale"] == 400, o["extent"]
assert set(o["not_drawn"]) == {"pictures", "charts", "controls", "shapes"}, o
assert any("fill" in w and "DXF" in w for w in o["warnings"]), o["warnings"]
keys = set(o) | set(o["extent"]) | set(o["paper"])
assert all(k == k.lower() and " " not in k for k in keys), keys
PY
grep -q -F 'tavo: 見積.xlsx: sheet "材料表": the drawing is 7.1 times the A3 paper at 1:50; it fits at 1:400 (--fit draws it so)' err \
    && grep -q "1 fill not written: a .jwc has no record for fills (a JWW file, .txt, or a DXF file keeps them)" err \
    || fail "size and fill warnings: $(cat err)"
"$tavo" export 見積.xlsx --solid --fit --to jww -o - 2> err | iconv -f CP932 -t UTF-8 | grep -q '^sl' \
    && ! grep -q "fill not written" err || fail "--solid draws the fill in a JWW file, and tells of none"
"$tavo" export 見積.xlsx --fit --json -o fit.jwc 2> err > json && "$tavo" info fit.jwc | grep -q '^Scale: 1:400$' || fail "--fit: $(cat err)"
echo 'e = o["extent"]; assert e["times_paper"] <= 1 and e["scale_before_fit"] == 50 and o["counts"]["fills"] == 0, o' | json_check json "--fit"

# Inputs known by their content, and the wrong kind told with what to use.
"$tavo" convert fit.jwc -o plan.txt 2> /dev/null
cp fit.jwc drawing.xlsx && printf 'AddLine,0,0,10,10,1,0,1\n' > rows.txt
check_runs <<'TABLE'
1|tavo: small.xlsx: is a workbook, not a .jwc drawing: use tavo export|info small.xlsx
1|tavo: plan.txt: is a JWW coordinate file|info plan.txt
1|tavo: drawing.xlsx: is a .jwc drawing, not a workbook or CSV rows: use tavo convert|export drawing.xlsx -o k.jwc
0|-> k.jwc: 1 line|export rows.txt -o k.jwc
TABLE

# Pipes and stdin for every input.
"$tavo" export small.xlsx -q -o small.jwc || fail "export of the small book"
"$tavo" info <(cat small.jwc) | grep -q '^Lines: 2$' || fail "info of a pipe"
cat small.xlsx | "$tavo" export - -q -o piped.jwc && cmp -s small.jwc piped.jwc || fail "a book from stdin"
cat form.ods | "$tavo" export - -q --sheet all -o piped/ && [ -s piped/stdin-明細.jwc ] || fail "an .ods from stdin, all sheets"
"$tavo" export <(cat small.xlsx) -q -o fifo.jwc && cmp -s small.jwc fifo.jwc || fail "a book from a pipe"
expect_error "a book from stdin needs -o" "$tavo" export - < small.xlsx

# Messages in English under any locale, the library's Japanese after them;
# stdout in the locale's character set, a pipe too.
locale=C
mkdir -p locales && localedef -i ja_JP -f UTF-8 "$dir/locales/ja_JP.UTF-8" 2> /dev/null && locale=ja_JP.UTF-8
echo "messages checked under $locale"
export LOCPATH="$dir/locales"
LC_ALL=$locale "$tavo" info missing.jwc 2> err
grep -q -F "tavo: missing.jwc: cannot be opened: No such file or directory (the library says: ファイルを開けません)" err \
    || fail "missing file under $locale: $(cat err)"
LC_ALL=$locale "$tavo" dump small.jwc | grep -q '和室' || fail "dump | grep under $locale"
LC_ALL=$locale "$tavo" export small.xlsx -o loc.jwc 2>&1 | grep -q -F 'tavo: small.xlsx: sheet "Sheet" A1:A1 -> loc.jwc' \
    || fail "summary under $locale"
unset LOCPATH

finish "batch export"
