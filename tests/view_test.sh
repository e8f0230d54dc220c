#!/bin/bash
# tavo view without a display: the command's rules (help, options, status),
# the usual errors for bad input, and no display reported at once, also for
# tavo export --to preview. tavo view on a display: xvfb_test.sh.
source "$(dirname "$0")/cli_support.sh"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
"$tavo" build "$examples/sample.csv" --mm --utf8 -o "$dir/sample.jwc" || fail "build of the sample"
printf 'AddLine,1,2\n' > "$dir/bad.csv"
printf 'hello' > "$dir/notes.xlsx"
cp "$examples/form.xlsx" "$dir/form.xlsx"

stdin="$dir/sample.jwc" check_runs <<TABLE
2|usage: tavo view|view
2|unknown option --size|view --size 10x10 "$dir/sample.jwc"
2|for workbooks|view "$dir/sample.jwc" --sheet 1
2|for CSV rows|view "$dir/form.xlsx" --encoding utf8
2|--range takes cells|view "$dir/form.xlsx" --range 1:2
2|takes jwc, jww, jwt, dxf, clipboard or preview|export "$dir/form.xlsx" --to window
2|"foo" is no task|settings foo
2|at most one of export|settings export dump
1|^tavo: $dir/missing.jwc: |view "$dir/missing.jwc"
1|^tavo: $dir/bad.csv: line 1|view --export "$dir/bad.csv"
1|^tavo: $dir/notes.xlsx: is not a workbook|view "$dir/notes.xlsx"
1|has no sheet "Nope"|view "$dir/form.xlsx" --sheet Nope
1|^tavo: no display is available|view -
1|^tavo: no display is available|view --export "$examples/sheet.csv" --utf8
1|^tavo: no display is available|view "$dir/form.xlsx" --sheet=1 --range=A1:F20
1|^tavo: $dir/form.xlsx: no display is available|export "$dir/form.xlsx" --to preview
1|^tavo: no display is available|settings
1|^tavo: no display is available|settings build
0|no display for the preview: writing $dir/form.jwc beside it instead|export "$dir/form.xlsx"
TABLE
[ -e "$dir/settings/tavo.ini" ] && fail "a window that never showed wrote tavo.ini"

"$tavo" help | grep -q "^  view " || fail "tavo help does not list view"
"$tavo" view --help > "$dir/help" && grep -q -F "Needs a display" "$dir/help" || fail "view --help"
"$tavo" help view | cmp -s - "$dir/help" || fail "tavo help view differs from view --help"

finish "view"
