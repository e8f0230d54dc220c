#!/bin/bash
# The preview window of the 64-bit DLL, run by wine_run.sh --x and worked by
# preview_host as a user would. What it leaves is checked against the Linux
# build's command for the same drawing: the saved .jwc and JWW files and the
# copied JWT text byte for byte, the messages, the buttons' states.
#   preview_x_test.sh HOST DLL LINUX_TAVO EXAMPLES OUT
set -u
host=$1 dll=$2 tavo=$3 examples=$4 out=$5
fail() { echo "FAIL: $*"; status=1; }
status=0
rm -rf "$out" && mkdir -p "$out/settings"
windows() { echo "Z:$1" | tr / '\\'; }
# The sample without its comments, which the preview's drawing does not take
# over (tavo convert does).
grep -v '^Comment,' "$examples/sample.csv" > "$out/sample.csv"
"$tavo" build "$out/sample.csv" --mm --utf8 -o "$out/sample.jwc" > /dev/null || exit 1
TAVO_HELP_DIR="$(windows "$out/nohelp")" TAVO_SETTINGS_DIR="$(windows "$out/settings")\\" timeout 120 \
    /usr/lib/wine/wine64 "$host" "$(windows "$dll")" "$(windows "$out/sample.jwc")" "$(windows "$out")" \
    < /dev/null > "$out/host.log" 2>&1 || fail "the host ended with status $?: $(cat "$out/host.log")"
iconv -f CP932 -t UTF-8 "$out/result.txt" 2>/dev/null | tr -d '\r' > "$out/result-utf8.txt"
cat "$out/result-utf8.txt"

# What the window did, as the preview's model says it must.
w=$(windows "$out")
expected="window: 576 x 432
shown: copy disabled, range selection up
hint of JWC save: 名前をつけてファイルを保存します
range selection begun: copy disabled, range selection pressed
after Esc: copy disabled, range selection up
range selected: copy enabled, range selection pressed
all selected: copy enabled, range selection up
copied: copy enabled, range selection up
message: 変換データを $w\\saved.jwc に保存しました
message: 変換データを $w\\saved.txt に保存しました
help: no help page for topic 1210 of $w\\settings\\tavo.hlp in $w\\nohelp\\
modal result: 1
last error: 
window gone: yes"
diff <(echo "$expected") "$out/result-utf8.txt" || fail "the window did otherwise (above: - expected, + seen)"

# The same bytes as the Linux build makes of the drawing, as the preview does.
for kind in jwc txt jwt; do
    "$tavo" convert "$out/sample.jwc" -o "$out/linux.$kind" || fail "tavo convert to .$kind"
done
cmp "$out/saved.jwc" "$out/linux.jwc" || fail "the saved .jwc differs from the Linux build's"
cmp "$out/saved.txt" "$out/linux.txt" || fail "the saved JWW file differs from the Linux build's"
cmp "$out/clipboard.jwt" "$out/linux.jwt" || fail "the copied JWT text differs from the Linux build's"
grep -qxF "FileName=$w\\saved.txt" <(iconv -f CP932 -t UTF-8 "$out/settings/tavo.ini" | tr -d '\r') ||
    fail "the last file saved is not in tavo.ini"
[ -f "$(dirname "$dll")/help/ja/1210.html" ] && [ -f "$(dirname "$dll")/help/en/1210.html" ] ||
    fail "no help pages beside $dll"
[ $status -eq 0 ] && echo "the preview window did as on Linux"
exit $status
