#!/bin/bash
# tavo view without a display: the command's rules (help, options, status),
# the usual errors for bad input, and no display reported at once, also for
# tavo export --to preview. tavo view on a display: xvfb_test.sh.
source "$(dirname "$0")/cli_support.sh"
nodisplay() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$tavo" "$@"; }

# expect STATUS PATTERN ARGS...: tavo ARGS without a display ends with STATUS
# and says PATTERN on stderr.
expect() {
    local status=$1 pattern=$2; shift 2
    nodisplay "$@" > /dev/null 2> "$dir/err"
    local got=$?
    [ "$got" -eq "$status" ] || fail "status $got, not $status, from: $*"
    grep -q -- "$pattern" "$dir/err" || fail "error of '$*' was: $(cat "$dir/err")"
}
"$tavo" build "$examples/sample.csv" --mm --utf8 -o "$dir/sample.jwc" || fail "build of the sample"
printf 'not a drawing' > "$dir/bad.jwc"
printf 'AddLine,1,2\n' > "$dir/bad.csv"
printf 'hello' > "$dir/notes.xlsx"

# The command line: status 2 and the usage.
expect 2 "give one FILE.jwc" view
expect 2 "usage: tavo view" view
expect 2 "give one FILE.jwc" view "$dir/sample.jwc" --export "$dir/bad.csv"
expect 2 "unknown option --size" view --size 10x10 "$dir/sample.jwc"
expect 2 "for workbooks" view "$dir/sample.jwc" --sheet 1
expect 2 "for workbooks" view --export=$examples/sheet.csv --range=A1:B2
expect 2 "for CSV rows" view "$examples/form.xlsx" --encoding utf8
expect 2 "--range takes cells" view "$examples/form.xlsx" --range 1:2
expect 2 "takes jwc, jww, jwt, dxf, clipboard or preview" export "$examples/form.xlsx" --to window
expect 2 "leave out -o" export "$examples/form.xlsx" --to preview -o "$dir/x.jwc"

# Bad inputs: status 1, named, before any window.
expect 1 "^tavo: $dir/missing.jwc: " view "$dir/missing.jwc"
expect 1 "^tavo: $dir/bad.jwc: " view "$dir/bad.jwc"
expect 1 "^tavo: $dir/bad.csv: line 1" view --export "$dir/bad.csv"
expect 1 "^tavo: $dir/notes.xlsx: is not a workbook" view "$dir/notes.xlsx"
/usr/bin/python3 - "$examples/form.xlsx" "$dir/cut.xlsx" <<'PY' || fail "writing cut.xlsx"
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as book, zipfile.ZipFile(sys.argv[2], 'w', zipfile.ZIP_DEFLATED) as cut:
    for part in book.infolist():
        data = book.read(part.filename)
        cut.writestr(part.filename, data[:len(data) // 2] if part.filename == 'xl/worksheets/sheet1.xml' else data)
PY
expect 1 "^tavo: $dir/cut.xlsx: xl/worksheets/sheet1.xml: damaged (cut short" view "$dir/cut.xlsx"
expect 1 "^tavo: stdin: " view - < "$dir/bad.jwc"
expect 1 'has no sheet "Nope"' view "$examples/form.xlsx" --sheet Nope

# No display: status 1 at once, for every input and the stored target.
expect 1 "^tavo: no display is available" view "$dir/sample.jwc"
expect 1 "^tavo: no display is available" view - < "$dir/sample.jwc"
expect 1 "^tavo: no display is available" view --export "$examples/sheet.csv" --utf8
expect 1 "^tavo: no display is available" view -- "$examples/form.xlsx"
expect 1 "^tavo: no display is available" view "$examples/form.xlsx" --sheet=1 --range=A1:F20
cp "$examples/form.xlsx" "$dir/form.xlsx"  # the factory ExportTarget 0: a file beside the book instead
expect 0 "no display for the preview: writing $dir/form.jwc beside it instead" export "$dir/form.xlsx"
expect 1 "^tavo: $examples/form.xlsx: no display is available" export "$examples/form.xlsx" --to preview
for task in "" export dump build; do
    # shellcheck disable=SC2086
    expect 1 "^tavo: no display is available" settings $task
done
expect 2 '"foo" is no task' settings foo
expect 2 "at most one of export" settings export dump
nodisplay config get JwcScale > /dev/null || fail "tavo config needs no display"
[ -e "$dir/settings/tavo.ini" ] && fail "a window that never showed wrote tavo.ini"

# Help: in tavo help's list, and per command with what the window writes.
"$tavo" help | grep -q "^  view " || fail "tavo help does not list view"
"$tavo" view --help > "$dir/help" || fail "view --help failed"
for words in "BOOK.xlsx|BOOK.ods [--sheet NAME|N]" "--export IN.csv" "Needs a display" "drawing units" \
             "real-world millimetres"; do
    grep -q -F -- "$words" "$dir/help" || fail "view --help lacks '$words'"
done
"$tavo" help view | cmp -s - "$dir/help" || fail "tavo help view differs from view --help"
"$tavo" export --help | grep -q -F "preview    the preview window" || fail "export --help lacks the preview target"
"$tavo" settings --help | grep -q -F "Needs a display" || fail "settings --help lacks the display rule"

finish "view"
