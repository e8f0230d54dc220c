#!/bin/bash
# One output rule for every command: an output is never one of the inputs,
# "-" is stdout (and stdin for inputs), and the extension names a kind the
# command writes.
source "$(dirname "$0")/cli_support.sh"
cd "$dir" || exit 1

"$tavo" build "$examples/sample.csv" --mm --utf8 -o a.jwc || fail "build of the sample"
"$tavo" dump a.jwc -o a.csv || fail "dump of the sample"
cp "$examples/sheet.csv" sheet.csv
mkdir sub

# command | input | extension it writes | a misleading one | the input named as the output, one spelling each
while IFS='|' read -r command input ext bad same; do
    read -r -a words <<< "$command"
    same=${same/@/$dir}
    cp "$input" "same$ext" && ln -sf "../same$ext" "sub/link$ext" && ln -f "same$ext" "hard$ext"
    "$tavo" "${words[@]}" "same$ext" -o "$same" > /dev/null 2> err && fail "${words[*]} -o $same overwrote its input"
    grep -q "is also an input" err && cmp -s "$input" "same$ext" && [ ! -e same.bak ] || fail "${words[*]} -o $same: $(cat err)"
    "$tavo" "${words[@]}" "$input" -o "out$bad" > /dev/null 2> err && fail "${words[*]} wrote out$bad"
    grep -q "the name must end in" err && [ ! -e "out$bad" ] || fail "${words[*]} -o out$bad: $(cat err)"
    # "-" writes to stdout what the file would hold, and reads stdin.
    to=()
    case ${words[0]} in export | convert) to=(--to "${ext#.}") ;; esac
    "$tavo" "${words[@]}" "$input" -o "file$ext" && "$tavo" "${words[@]}" "$input" -o - "${to[@]}" > "stdout$ext" \
        && cmp -s "file$ext" "stdout$ext" || fail "${words[*]}: -o - differs from the file"
    "$tavo" "${words[@]}" - -o "stdin$ext" < "$input" && cmp -s "file$ext" "stdin$ext" \
        || fail "${words[*]}: reading stdin differs from reading the file"
    rm -rf file* stdout* stdin* same* hard* sub/*
done <<'TABLE'
build|a.csv|.jwc|.txt|same.jwc
dump --encoding sjis|a.jwc|.csv|.jwc|./same.csv
export|sheet.csv|.dxf|.jww|sub/link.dxf
convert|a.jwc|.jwt|.png|hard.jwt
jwt --encoding sjis|a.jwc|.jwt|.txt|sub/../same.jwt
render|a.jwc|.png|.jpg|@/same.png
render --export|sheet.csv|.png|.csv|same.png
TABLE

"$tavo" jwt a.jwc -o - > /dev/full 2> err && fail "a full stdout went unnoticed"
grep -q "^tavo: stdout: cannot be written" err || fail "> /dev/full: $(cat err)"
# Extensions match in any case.
"$tavo" export sheet.csv -o UPPER.TXT && [ -s UPPER.TXT ] || fail "an upper-case extension"
# Only one input may read stdin.
"$tavo" info - - < a.jwc 2> err && fail "stdin read twice"
grep -q "only once" err || fail "info - -: $(cat err)"
"$tavo" info - < a.jwc | grep -q '^File: stdin$' || fail "info names stdin"

finish "cli output rule"
