#!/bin/bash
# One output rule for every command: an output is never one of the inputs,
# "-" is stdout (and stdin for inputs), and the extension names a kind the
# command writes.
source "$(dirname "$0")/cli_support.sh"
cd "$dir" || exit 1

"$tavo" build "$examples/sample.csv" --mm --utf8 -o a.jwc || fail "build of the sample"
"$tavo" dump a.jwc -o a.csv || fail "dump of the sample"
cp "$examples/sheet.csv" sheet.csv

# command and its arguments before -o | input | extensions it writes | misleading ones
while IFS='|' read -r command input good bad; do
    read -r -a words <<< "$command"
    # The output is refused when it is an input, however it is named.
    for ext in $good; do
        cp "$input" "same$ext"
        mkdir -p sub && ln -sf "../same$ext" "sub/link$ext" && ln -f "same$ext" "hard$ext"
        for name in "same$ext" "./same$ext" "sub/../same$ext" "$dir/same$ext" "sub/link$ext" "hard$ext"; do
            "$tavo" "${words[@]}" "same$ext" -o "$name" > /dev/null 2> err && fail "${words[*]} -o $name overwrote its input"
            grep -q "is also an input" err || fail "${words[*]} -o $name: $(cat err)"
        done
        cmp -s "$input" "same$ext" || fail "${words[*]}: the input same$ext was changed"
        [ -e same.bak ] && fail "${words[*]}: a refused output left same.bak"
        rm -rf sub same* hard*
    done
    # An extension that would mislead another program is refused, naming the kinds.
    for ext in $bad; do
        "$tavo" "${words[@]}" "$input" -o "out$ext" > /dev/null 2> err && fail "${words[*]} wrote out$ext"
        grep -q "the name must end in" err || fail "${words[*]} -o out$ext: $(cat err)"
        [ -e "out$ext" ] && fail "${words[*]} left out$ext"
    done
    # "-" writes to stdout what the file would hold, and reads stdin.
    ext=${good%% *}
    to=()
    [ "$good" != "$ext" ] && to=(--to "$(case $ext in .txt) echo jww ;; *) echo "${ext#.}" ;; esac)")
    "$tavo" "${words[@]}" "$input" -o "file$ext" || fail "${words[*]} -o file$ext"
    "$tavo" "${words[@]}" "$input" -o - "${to[@]}" > "stdout$ext" || fail "${words[*]} -o -"
    "$tavo" "${words[@]}" - -o "stdin$ext" < "$input" || fail "${words[*]} from stdin"
    cmp -s "file$ext" "stdout$ext" || fail "${words[*]}: -o - differs from the file"
    cmp -s "file$ext" "stdin$ext" || fail "${words[*]}: reading stdin differs from reading the file"
    "$tavo" "${words[@]}" "$input" -o - "${to[@]}" > /dev/full 2> err && fail "${words[*]}: a full stdout went unnoticed"
    grep -q "^tavo: stdout: cannot be written" err || fail "${words[*]} > /dev/full: $(cat err)"
    rm -f file* stdout* stdin*
done <<'TABLE'
build|a.csv|.jwc|.txt .jww .csv .dxf
dump --encoding sjis|a.jwc|.csv|.jwc .txt
export|sheet.csv|.txt .jwc .dxf|.jww .csv .out .JWW
convert|a.jwc|.txt .jwt .jwc .dxf|.jww .png
jwt --encoding sjis|a.jwc|.jwt|.txt .jwc
render|a.jwc|.png|.jpg .jwc
render --export|sheet.csv|.png|.csv
TABLE

# Extensions match in any case; --to must agree with the name.
"$tavo" export sheet.csv -o UPPER.TXT && [ -s UPPER.TXT ] || fail "an upper-case extension"
"$tavo" export sheet.csv --to jwc -o x.txt 2> err && fail "--to jwc with a .txt name"
grep -q "would misname" err || fail "--to against the name: $(cat err)"
"$tavo" export sheet.csv -o - 2> err && fail "export -o - without --to"
grep -q -- "-o - needs --to jwc, jww, jwt or dxf" err || fail "export -o -: $(cat err)"
# The settings an export reads are inputs too.
mkdir -p settings && "$tavo" config set JwcScale 50 && cp settings/tavo.ini ini.before
ln -s settings/tavo.ini ini-link.txt
"$tavo" export sheet.csv -o ini-link.txt 2> err && fail "export overwrote tavo.ini through a link"
cmp -s ini.before settings/tavo.ini && grep -q "is also an input" err || fail "tavo.ini as output: $(cat err)"
# Only one input may read stdin.
"$tavo" info - - < a.jwc 2> err && fail "stdin read twice"
grep -q "only once" err || fail "info - -: $(cat err)"
"$tavo" info - < a.jwc | grep -q '^File: stdin$' || fail "info names stdin"

finish "cli output rule"
