#!/bin/bash
# tavo audit: a written .jwc is clean; a planted fault is found where it lies, as text and as JSON;
# build and export refuse what readers refuse, naming the line and field.
source "$(dirname "$0")/cli_support.sh"
cd "$dir" || exit 1

"$tavo" build "$examples/sample.csv" --mm --utf8 -o sample.jwc || fail "build of sample.csv"
"$tavo" audit - < sample.jwc | grep -q '^stdin: clean$' && "$tavo" info sample.jwc | grep -q '^Audit: clean$' \
    || fail "audit of stdin, info of a clean file"

# A line of pen 0 and an arc from -90 degrees, planted in a copy.
cp sample.jwc bad.jwc
printf '\x00' | dd of=bad.jwc bs=1 seek=$((2389 + 17)) conv=notrunc status=none
printf '\x00\x00\xa6\xff' | dd of=bad.jwc bs=1 seek=$((2389 + 13 * 22 + 32 + 14)) conv=notrunc status=none
"$tavo" audit bad.jwc sample.jwc > out; [ $? -eq 1 ] || fail "findings give status 1"
cat > expected <<EXPECTED
bad.jwc:2406: error JWC_PEN_RANGE: line 0 has pen 0; JW_CAD knows pens 1 to 9.
bad.jwc:2721: error JWC_ANGLE_RANGE: arc 1 has start angle -90 degrees; readers take angles from 0 up to 360.
bad.jwc: 2 findings (2 errors, 0 warnings)
sample.jwc: clean
EXPECTED
diff expected out > /dev/null || fail "audit output: $(diff expected out)"
"$tavo" info bad.jwc | grep -q '^Audit: 2 findings (tavo audit lists them)$' || fail "info counts findings"
"$tavo" audit --json bad.jwc missing.jwc > out.json 2> err; [ $? -eq 1 ] || fail "audit --json with findings exits 1"
json_check out.json "audit --json" <<'PY'
bad, missing = o
assert (bad["clean"], bad["errors"], bad["warnings"]) == (False, 2, 0), bad
assert bad["counts"] == {"JWC_ANGLE_RANGE": 1, "JWC_PEN_RANGE": 1}, bad
pen = bad["findings"][0]
assert (pen["code"], pen["severity"], pen["offset"], pen["record"], pen["index"]) == \
    ("JWC_PEN_RANGE", "error", 2406, "line", 0), pen
assert "error" in missing, missing
PY
"$tavo" info --json bad.jwc > info.json && echo 'assert o[0]["audit_findings"] == 2' | json_check info.json "info --json"
expect_error "^tavo: missing.jwc: " "$tavo" audit missing.jwc
"$tavo" audit --frob sample.jwc > /dev/null 2>&1; [ $? -eq 2 ] || fail "an unknown option is a usage error"

# Rows with what readers refuse: refused by build and export, by line and field.
while IFS='|' read -r command row message; do
    printf 'Comment,a,b\n%s\n' "$row" > rows.csv
    expect_error "^tavo: rows.csv: line 2: $message" "$tavo" "$command" rows.csv -o x.jwc
done <<'TABLE'
build|Sen,0,0,10,0,1,0,0,0,0|field 6 (Color) is 0; JW_CAD knows pens 1 to 9
build|Sen,0,0,10,0,16,1,0,0,0|field 5 (LineType) is 16; JW_CAD knows line types 1 to 9 (in the low four bits)
build|Enko,0,0,5,10000,0,0,0,1,10,0,0,0|field 9 (Color) is 10; JW_CAD knows pens 1 to 9
build|Moji,0,0,10,0,0,0,0,A|field 5 (MojiNo) is 0; JW_CAD knows text sizes 1 to 10
build|Ten,0,0,0,0,0|field 4 (Color) is 0; JW_CAD knows pens 1 to 9
export|AddLine,0,0,10,0,1,241,0|field 7 (LineType) is 0; JW_CAD knows line types
export|AddText,0,0,10,0,11,240,A|field 5 (MojiNo) is 11; JW_CAD knows text sizes 1 to 10
export|AddCircle,0,0,5,1,0,0,0,0,242,1|field 8 (Color) is 0; JW_CAD knows pens 1 to 9
TABLE
[ -e x.jwc ] && fail "a refused row left a file"

# An empty text is left out of the .jwc, and export says so; an arc's
# angles enter within a whole turn.
printf 'AddText,0,0,10,0,3,240,A\nAddText,0,0,10,0,3,240,\nAddCircle,50,50,5,1,-90,400,370,1,242,1\n' > rows.csv
"$tavo" export rows.csv -o rows.jwc 2> err || fail "export with an empty text"
grep -q "^tavo: rows.csv: 1 empty text left out" err || fail "the empty text is told: $(cat err)"
"$tavo" audit rows.jwc > /dev/null || fail "rows.jwc: $("$tavo" audit rows.jwc)"
"$tavo" dump rows.jwc | grep -q '^Enko,.*,17694720,2621440,655360,1,1,242,0,0$' || fail "angles 270, 40, 10"

finish "cli_audit"
