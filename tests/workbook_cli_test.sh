#!/bin/bash
# tavo export and render on workbooks: the bundled form, the .ods fixture,
# the target rules, the output rule with the workbook and the settings as
# inputs, the clipboard, and refused files that leave an existing output alone.
source "$(dirname "$0")/cli_support.sh"
data=$3

"$tavo" export -q "$examples/form.xlsx" -o "$dir/form.jwc" 2> "$dir/err" || fail "export of the form"
[ -s "$dir/err" ] && fail "a successful export with -q printed on stderr: $(cat "$dir/err")"
"$tavo" info "$dir/form.jwc" | grep -q '^Texts: [1-9]' || fail "the form has texts"
"$tavo" export "$examples/form.xlsx" -o "$dir/form.txt" || fail "export to JWW"
iconv -f CP932 -t UTF-8 "$dir/form.txt" | grep -q '"御　見　積　書' || fail "the title in the JWW file"
"$tavo" export "$examples/form.xlsx" --sheet=見積書 --range=A6:F14 --to jww -o "$dir/part.txt" || fail "--sheet --range"
[ "$(wc -l < "$dir/part.txt")" -lt "$(wc -l < "$dir/form.txt")" ] || fail "--range draws less"
"$tavo" export "$data/form.ods" -o "$dir/ods.jwc" && "$tavo" info "$dir/ods.jwc" | grep -q '^Texts: 8$' \
    || fail "export of the .ods fixture"
"$tavo" render "$examples/form.xlsx" -o "$dir/form.png" --size 400x300 && [ -s "$dir/form.png" ] || fail "render"
cp "$examples/form.xlsx" "$dir/-dash.xlsx"
(cd "$dir" && "$tavo" export -o dash.jwc -- -dash.xlsx) && cmp -s "$dir/form.jwc" "$dir/dash.jwc" || fail "-- before a book"

# The output rule: "-" is stdout, the extension names the kind, and neither
# the workbook nor the settings may be the output.
"$tavo" export "$examples/form.xlsx" --to jww -o - > "$dir/stdout.txt" && cmp -s "$dir/form.txt" "$dir/stdout.txt" \
    || fail "-o - differs from the file"
"$tavo" export "$examples/form.xlsx" --to jwc -o - | cmp -s "$dir/form.jwc" - || fail "-o - --to jwc"
expect_error "^tavo: -o - needs --to jwc, jww, jwt or dxf" "$tavo" export "$examples/form.xlsx" -o -
for ext in .out .jww .xlsx; do
    expect_error "the name must end in .jwc (JW_CAD drawing), .txt (JWW coordinate file), .jwt" "$tavo" export "$examples/form.xlsx" -o "$dir/x$ext"
    [ -e "$dir/x$ext" ] && fail "-o x$ext was written"
done
expect_error "would misname" "$tavo" export "$examples/form.xlsx" --to jwc -o "$dir/x.txt"
cp "$examples/form.xlsx" "$dir/book.jwc"
ln -s book.jwc "$dir/link.jwc"
for name in "$dir/book.jwc" "$dir/./book.jwc" "$dir/link.jwc"; do
    expect_error "is also an input" "$tavo" export "$dir/book.jwc" -o "$name"
done
cmp -s "$examples/form.xlsx" "$dir/book.jwc" && [ ! -e "$dir/book.bak" ] || fail "the workbook was touched"
"$tavo" config set JwcScale 50 && cp "$dir/settings/tavo.ini" "$dir/ini.before"
ln -s settings/tavo.ini "$dir/ini.txt" && ln -s settings/tavo.ini "$dir/ini.png"
expect_error "is also an input" "$tavo" export "$examples/form.xlsx" -o "$dir/ini.txt"
expect_error "is also an input" "$tavo" render "$examples/form.xlsx" -o "$dir/ini.png"
cmp -s "$dir/ini.before" "$dir/settings/tavo.ini" || fail "tavo.ini was touched"
expect_error "for workbooks" "$tavo" export "$examples/sheet.csv" --sheet 1 -o "$dir/x.jwc"
expect_error "for workbooks" "$tavo" render "$dir/form.jwc" --range A1:B2 -o "$dir/x.png"
expect_error "for CSV rows" "$tavo" export "$examples/form.xlsx" --encoding utf8 -o "$dir/x.jwc"

# The target: the stored ExportTarget and FileName when neither --to nor -o says;
# the factory target, the preview, without a display writes BOOK.jwc beside the book.
cp "$examples/form.xlsx" "$dir/beside.xlsx"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$tavo" export "$dir/beside.xlsx" 2> "$dir/err" \
    && "$tavo" info "$dir/beside.jwc" | grep -q '^Texts: [1-9]' \
    && grep -q "^tavo: $dir/beside.xlsx: no display for the preview: writing $dir/beside.jwc beside it instead" "$dir/err" \
    || fail "factory target (the preview) without a display: $(cat "$dir/err")"
"$tavo" config set ExportTarget 3 && "$tavo" config set FileName "$dir/stored.jwc" || fail "config set"
"$tavo" export "$examples/form.xlsx" && head -c 2 "$dir/stored.txt" | grep -q hd || fail "stored target 3: stored.txt"
"$tavo" export "$examples/form.xlsx" --to jwc && [ -s "$dir/stored.jwc" ] || fail "--to jwc: stored.jwc"
expect_error "leave out -o" "$tavo" export "$examples/form.xlsx" --to clipboard -o "$dir/x.jwc"

# The clipboard: an error without a display, the text kept after tavo ends on one.
"$tavo" config set ExportTarget 1 || fail "config set"
for args in "--to clipboard" ""; do
    env -u DISPLAY -u WAYLAND_DISPLAY "$tavo" export "$examples/form.xlsx" $args > "$dir/out" 2> "$dir/err"
    rc=$?
    [ $rc -eq 1 ] && grep -q "^tavo: clipboard: cannot be reached: no display" "$dir/err" \
        || fail "clipboard '$args' without a display: status $rc, $(cat "$dir/err")"
done
xvfb-run -a bash -c '
    "$1" export "$2" --to clipboard || echo "FAIL: --to clipboard on a display"
    xclip -o -selection clipboard -t "text/plain;charset=Shift_JIS" | iconv -f CP932 -t UTF-8 \
        | grep -q "御　見　積　書" || echo "FAIL: the title is not on the clipboard"
' _ "$tavo" "$examples/form.xlsx" > "$dir/x11" 2>&1 || fail "xvfb-run: $(cat "$dir/x11")"
grep '^FAIL' "$dir/x11" && fails=$((fails + 1))

# Help: both inputs, every output's units.
"$tavo" export --help > "$dir/help"
for words in "BOOK.xlsx|BOOK.ods" "--sheet NAME|N" "JW_CAD drawing" "real-world millimetres" "clipboard  JWT text"; do
    grep -q -F -- "$words" "$dir/help" || fail "export --help lacks '$words'"
done
"$tavo" help render | grep -q -F "BOOK.xlsx|BOOK.ods -o OUT.png" || fail "render --help names workbooks"

# Refused files: a message naming the file, status 1, the old output as it was.
printf 'keep me' > "$dir/out.jwc"
printf 'hello' > "$dir/notes.xlsx"
head -c 300 "$examples/form.xlsx" > "$dir/cut.xlsx"
check_refused() {  # file, message part, options...
    local book=$1 what=$2
    shift 2
    "$tavo" export "$book" "$@" -o "$dir/out.jwc" 2> "$dir/err"
    local rc=$?
    [ $rc -eq 1 ] || fail "$book: status $rc"
    grep -q -F "tavo: $book: $what" "$dir/err" || fail "$book: message $(cat "$dir/err")"
    [ "$(cat "$dir/out.jwc")" = "keep me" ] || fail "$book: the old output changed"
    [ -e "$dir/out.bak" ] && fail "$book: a .bak appeared"
}
check_refused "$dir/notes.xlsx" "is not a workbook"
check_refused "$dir/cut.xlsx" "is damaged"
check_refused "$examples/form.xlsx" 'has no sheet "Nope"' --sheet Nope
check_refused "$examples/form.xlsx" 'sheet "見積書" has nothing to draw in Z100:Z200' --range Z100:Z200
check_refused "$examples/form.xlsx" 'has no sheet "表紙"' --range '表紙!B2:C4'
expect_error "--range is on sheet \"見積書\" but --sheet names \"1\"" \
    "$tavo" export "$examples/form.xlsx" --sheet 1 --range '見積書!A1:B2' -o "$dir/x.jwc"
"$tavo" export "$examples/form.xlsx" --sheet 見積書 --range A6:F14 -o "$dir/part2.txt" &&
    "$tavo" export "$examples/form.xlsx" --range "'見積書'!A6:F14" -o "$dir/quoted.txt" &&
    cmp -s "$dir/part2.txt" "$dir/quoted.txt" || fail "a quoted sheet name in --range"

# What is not drawn, and characters without a Shift-JIS form: one line each
# on stderr and in the JSON report; --strict refuses them.
/usr/bin/python3 - "$dir/shapes.xlsx" <<'PY' || fail "writing shapes.xlsx"
import sys, zipfile
M = 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'
R = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'
P = 'http://schemas.openxmlformats.org/package/2006/relationships'
D = 'xmlns:xdr="http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing" ' \
    'xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main"'
def anchor(body):
    corner = lambda n, c, r: f'<xdr:{n}><xdr:col>{c}</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>{r}</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:{n}>'
    return '<xdr:twoCellAnchor>' + corner('from', 1, 1) + corner('to', 3, 4) + body + '<xdr:clientData/></xdr:twoCellAnchor>'
parts = {
    '[Content_Types].xml': '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>',
    '_rels/.rels': f'<Relationships xmlns="{P}"><Relationship Id="r" Type="{R}/officeDocument" Target="xl/workbook.xml"/></Relationships>',
    'xl/workbook.xml': f'<workbook xmlns="{M}" xmlns:r="{R}"><sheets><sheet name="Sheet1" sheetId="1" r:id="s"/></sheets></workbook>',
    'xl/_rels/workbook.xml.rels': f'<Relationships xmlns="{P}"><Relationship Id="s" Type="{R}/worksheet" Target="worksheets/sheet1.xml"/></Relationships>',
    'xl/worksheets/sheet1.xml': f'<worksheet xmlns="{M}" xmlns:r="{R}"><sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>吉\U00020BB7野</t></is></c></row></sheetData><drawing r:id="d"/></worksheet>',
    'xl/worksheets/_rels/sheet1.xml.rels': f'<Relationships xmlns="{P}"><Relationship Id="d" Type="{R}/drawing" Target="../drawings/drawing1.xml"/></Relationships>',
    'xl/drawings/drawing1.xml': f'<xdr:wsDr {D}>' + anchor('<xdr:sp><xdr:nvSpPr><xdr:cNvPr id="2" name="E"/><xdr:cNvSpPr/></xdr:nvSpPr><xdr:spPr><a:prstGeom prst="ellipse"/><a:ln w="9525"><a:solidFill><a:srgbClr val="000000"/></a:solidFill></a:ln></xdr:spPr></xdr:sp>')
        + anchor('<xdr:pic><xdr:nvPicPr><xdr:cNvPr id="3" name="P"/><xdr:cNvPicPr/></xdr:nvPicPr><xdr:blipFill/><xdr:spPr/></xdr:pic>')
        + anchor('<xdr:graphicFrame><xdr:nvGraphicFramePr><xdr:cNvPr id="4" name="C"/><xdr:cNvGraphicFramePr/></xdr:nvGraphicFramePr><xdr:xfrm/><a:graphic><a:graphicData uri="http://schemas.openxmlformats.org/drawingml/2006/chart"/></a:graphic></xdr:graphicFrame>')
        + '</xdr:wsDr>',
}
with zipfile.ZipFile(sys.argv[1], 'w') as z:
    for name, text in parts.items():
        z.writestr(name, text.encode('utf-8'))
PY
"$tavo" export "$dir/shapes.xlsx" -o "$dir/shapes.jwc" --json > "$dir/json" 2> "$dir/err" || fail "export of shapes"
grep -q -F "tavo: $dir/shapes.xlsx: sheet \"Sheet1\": 1 picture, 1 chart not drawn" "$dir/err" \
    || fail "what is not drawn: $(cat "$dir/err")"
grep -q -F "tavo: $dir/shapes.xlsx: sheet \"Sheet1\": cell A1: \"𠮷\" (U+20BB7) has no Shift-JIS form; drawn as \"?\"" \
    "$dir/err" || fail "the character without a Shift-JIS form: $(cat "$dir/err")"
grep -q -F '"not_drawn": {"pictures": 1, "charts": 1, "controls": 0, "shapes": 0}' "$dir/json" || fail "--json: $(cat "$dir/json")"
grep -q -F '"warnings": ["cell A1: \"𠮷\" (U+20BB7)' "$dir/json" || fail "--json warnings: $(cat "$dir/json")"
"$tavo" info "$dir/shapes.jwc" | grep -q '^Arcs: 1$' || fail "the ellipse is an arc record"
printf 'keep me' > "$dir/out.jwc"
check_refused "$dir/shapes.xlsx" 'sheet "Sheet1": cell A1: the character U+20BB7 has no Shift-JIS form' --strict
ls "$dir" | grep -q -i 'tmp' && fail "a temporary file was left: $(ls "$dir")"

finish "workbook command"
