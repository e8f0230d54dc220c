#!/bin/bash
# tavo export and render on workbooks: the bundled form, the .ods fixture,
# the options that belong to workbooks, the stored target, the clipboard,
# refused books that leave an existing output alone, and what is not drawn.
source "$(dirname "$0")/cli_support.sh"
data=$3

"$tavo" export -q "$examples/form.xlsx" -o "$dir/form.jwc" 2> "$dir/err" || fail "export of the form"
[ -s "$dir/err" ] && fail "a successful export with -q printed on stderr: $(cat "$dir/err")"
"$tavo" info "$dir/form.jwc" | grep -q '^Texts: [1-9]' || fail "the form has texts"
"$tavo" export "$examples/form.xlsx" -o "$dir/form.txt" || fail "export to JWW"
iconv -f CP932 -t UTF-8 "$dir/form.txt" | grep -q '"御　見　積　書' || fail "the title in the JWW file"
"$tavo" export "$examples/form.xlsx" --sheet=見積書 --range=A6:F14 --to jww -o "$dir/part.txt" || fail "--sheet --range"
[ "$(wc -l < "$dir/part.txt")" -lt "$(wc -l < "$dir/form.txt")" ] || fail "--range draws less"
"$tavo" export "$examples/form.xlsx" --range "'見積書'!A6:F14" -o "$dir/quoted.txt" &&
    cmp -s "$dir/part.txt" "$dir/quoted.txt" || fail "a quoted sheet name in --range"
"$tavo" export "$data/form.ods" -o "$dir/ods.jwc" && "$tavo" info "$dir/ods.jwc" | grep -q '^Texts: 8$' \
    || fail "export of the .ods fixture"
"$tavo" render "$examples/form.xlsx" -o "$dir/form.png" --size 400x300 && [ -s "$dir/form.png" ] || fail "render"
expect_error "for workbooks" "$tavo" export "$examples/sheet.csv" --sheet 1 -o "$dir/x.jwc"
expect_error "for workbooks" "$tavo" render "$dir/form.jwc" --range A1:B2 -o "$dir/x.png"
expect_error "for CSV rows" "$tavo" export "$examples/form.xlsx" --encoding utf8 -o "$dir/x.jwc"
expect_error "--range is on sheet \"見積書\" but --sheet names \"1\"" \
    "$tavo" export "$examples/form.xlsx" --sheet 1 --range '見積書!A1:B2' -o "$dir/x.jwc"

# The stored ExportTarget and FileName when neither --to nor -o says.
"$tavo" config set ExportTarget 3 && "$tavo" config set FileName "$dir/stored.jwc" || fail "config set"
"$tavo" export "$examples/form.xlsx" && head -c 2 "$dir/stored.txt" | grep -q hd || fail "stored target 3: stored.txt"
"$tavo" export "$examples/form.xlsx" --to jwc && [ -s "$dir/stored.jwc" ] || fail "--to jwc: stored.jwc"

# The clipboard, stored or asked for: an error without a display, the text
# kept after tavo ends on one.
"$tavo" config set ExportTarget 1 || fail "config set"
env -u DISPLAY -u WAYLAND_DISPLAY "$tavo" export "$examples/form.xlsx" > /dev/null 2> "$dir/err"
[ $? -eq 1 ] && grep -q "^tavo: clipboard: cannot be reached: no display" "$dir/err" \
    || fail "the stored clipboard target without a display: $(cat "$dir/err")"
xvfb-run -a bash -c '
    "$1" export "$2" --to clipboard || echo "FAIL: --to clipboard on a display"
    xclip -o -selection clipboard -t "text/plain;charset=Shift_JIS" | iconv -f CP932 -t UTF-8 \
        | grep -q "御　見　積　書" || echo "FAIL: the title is not on the clipboard"
' _ "$tavo" "$examples/form.xlsx" > "$dir/x11" 2>&1 || fail "xvfb-run: $(cat "$dir/x11")"
grep '^FAIL' "$dir/x11" && fails=$((fails + 1))

# Refused books: a message naming the file, status 1, the old output as it was.
check_refused() {  # file, message part, options...
    local book=$1 what=$2
    shift 2
    printf 'keep me' > "$dir/out.jwc"
    "$tavo" export "$book" "$@" -o "$dir/out.jwc" 2> "$dir/err"
    local rc=$?
    [ $rc -eq 1 ] || fail "$book: status $rc"
    grep -q -F "tavo: $book: $what" "$dir/err" || fail "$book: message $(cat "$dir/err")"
    [ "$(cat "$dir/out.jwc")" = "keep me" ] && [ ! -e "$dir/out.bak" ] || fail "$book: the old output changed"
}
head -c 300 "$examples/form.xlsx" > "$dir/cut.xlsx"
check_refused "$dir/cut.xlsx" "is damaged"
check_refused "$examples/form.xlsx" 'has no sheet "表紙"' --range '表紙!B2:C4'

# A chart and a character without a Shift-JIS form (openpyxl writes them):
# one line each on stderr and in the JSON report; --strict refuses them.
/usr/bin/python3 - "$dir/chart.xlsx" <<'PY' || fail "openpyxl (python3-openpyxl) cannot write chart.xlsx"
import sys, openpyxl
from openpyxl.chart import BarChart, Reference
wb = openpyxl.Workbook(); ws = wb.active; ws['A1'] = '吉\U00020BB7野'; ws['A2'] = 3
chart = BarChart(); chart.add_data(Reference(ws, min_col=1, min_row=2, max_row=2)); ws.add_chart(chart, 'C3')
wb.save(sys.argv[1])
PY
"$tavo" export "$dir/chart.xlsx" -o "$dir/chart.jwc" --json > "$dir/json" 2> "$dir/err" || fail "export of chart.xlsx"
grep -q -F "tavo: $dir/chart.xlsx: sheet \"Sheet\": 1 chart not drawn" "$dir/err" || fail "what is not drawn: $(cat "$dir/err")"
grep -q -F "tavo: $dir/chart.xlsx: sheet \"Sheet\": cell A1: \"𠮷\" (U+20BB7) has no Shift-JIS form; drawn as \"?\"" \
    "$dir/err" || fail "the character without a Shift-JIS form: $(cat "$dir/err")"
grep -q -F '"not_drawn": {"pictures": 0, "charts": 1, "controls": 0, "shapes": 0}' "$dir/json" \
    && grep -q -F '"warnings": ["cell A1: \"𠮷\" (U+20BB7)' "$dir/json" || fail "--json: $(cat "$dir/json")"
"$tavo" export "$dir/chart.xlsx" --to jww -o - 2> /dev/null | iconv -f CP932 -t UTF-8 | grep -q '"吉?野' \
    || fail "one ? drawn for the character"
check_refused "$dir/chart.xlsx" 'sheet "Sheet": cell A1: the character U+20BB7 has no Shift-JIS form' --strict
ls "$dir" | grep -q -i 'tmp' && fail "a temporary file was left: $(ls "$dir")"

finish "workbook command"
