#!/bin/bash
# tavo export and render on workbooks: the bundled form, the .ods fixture,
# the target rules, and refused files that leave an existing output alone.
set -u
tavo=$1
examples=$2
data=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export TAVO_SETTINGS_DIR="$dir/settings"
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

"$tavo" export "$examples/form.xlsx" -o "$dir/form.jwc" 2> "$dir/err" || fail "export of the form"
[ -s "$dir/err" ] && fail "a successful export printed on stderr (no terminal, no progress bar): $(cat "$dir/err")"
"$tavo" info "$dir/form.jwc" | grep -q '^Texts: [1-9]' || fail "the form has texts"
"$tavo" export "$examples/form.xlsx" -o "$dir/form.txt" || fail "export to JWW"
iconv -f CP932 -t UTF-8 "$dir/form.txt" | grep -q '"御　見　積　書' || fail "the title in the JWW file"
"$tavo" export "$examples/form.xlsx" --sheet 見積書 --range A6:F14 --to jww -o "$dir/part.out" || fail "--sheet --range"
[ "$(wc -l < "$dir/part.out")" -lt "$(wc -l < "$dir/form.txt")" ] || fail "--range draws less"
"$tavo" export "$data/form.ods" -o "$dir/ods.jwc" && "$tavo" info "$dir/ods.jwc" | grep -q '^Texts: 8$' \
    || fail "export of the .ods fixture"
"$tavo" render "$examples/form.xlsx" -o "$dir/form.png" --size 400x300 && [ -s "$dir/form.png" ] || fail "render"

# The target: the stored ExportTarget and FileName when neither --to nor -o says.
"$tavo" export "$examples/form.xlsx" 2> "$dir/err"
[ $? -eq 2 ] && grep -q 'preview window' "$dir/err" || fail "factory target (the preview) needs -o"
"$tavo" config set ExportTarget 3 && "$tavo" config set FileName "$dir/stored.jwc" || fail "config set"
"$tavo" export "$examples/form.xlsx" && head -c 2 "$dir/stored.txt" | grep -q hd || fail "stored target 3: stored.txt"
"$tavo" export "$examples/form.xlsx" --to clipboard || fail "--to clipboard"
"$tavo" export "$examples/form.xlsx" --to clipboard -o "$dir/x.jwc" 2> /dev/null && fail "--to clipboard with -o"

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
ls "$dir" | grep -q -i 'tmp' && fail "a temporary file was left: $(ls "$dir")"

[ $fails -eq 0 ] && echo "workbook command: all passed"
exit $fails
