#!/bin/bash
# The preview window of the 64-bit DLL under Wine, shown in an X server of
# its own (Xvfb) and worked by preview_host as a user would. What it leaves
# is checked against the Linux build's command for the same drawing: the
# saved .jwc and JWW files and the copied JWT text byte for byte, the
# messages, the buttons' states, "tavo.ini" as the window writes it on first
# use. The pictures of the window and of the progress dialog stay as
# OUT/window.png and OUT/progress.png.
#   preview_x_test.sh PREFIX HOST DLL LINUX_TAVO EXAMPLES OUT
set -u
prefix=$1 host=$2 dll=$3 tavo=$4 examples=$5 out=$6
here=$(cd "$(dirname "$0")" && pwd)
xprefix="$prefix-x"
xvfb=""
cleanup() {
    WINEPREFIX="$xprefix" /usr/lib/wine/wineserver -k 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; status=1; }
status=0
command -v Xvfb > /dev/null || { echo "FAIL: Xvfb is missing (make deps installs it)"; exit 1; }
rm -rf "$out" && mkdir -p "$out/settings"

# A prefix of its own whose windows go to X: the tests' prefix has the
# null driver, and one Wine server has one display driver.
if [ ! -f "$xprefix/user.reg" ]; then
    cp -a --reflink=auto "$prefix" "$xprefix" || exit 1
    rm -f "$xprefix/wineserver"
    sed -i '/^"Graphics"="null"$/d' "$xprefix/user.reg"
fi

exec 3> "$out/display"
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp > "$out/xvfb.log" 2>&1 &
xvfb=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$out/display" ] && break; sleep 0.05; done
[ -s "$out/display" ] || { echo "FAIL: Xvfb did not start: $(cat "$out/xvfb.log")"; exit 1; }

windows() { echo "Z:$1" | tr / '\\'; }
# The sample without its comments, which the preview's drawing does not take
# over (tavo convert does).
grep -v '^Comment,' "$examples/sample.csv" > "$out/sample.csv"
"$tavo" build "$out/sample.csv" --mm --utf8 -o "$out/sample.jwc" > /dev/null || exit 1
export WINEPREFIX="$xprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LOCPATH="$xprefix/unix-locales" DISPLAY=":$(head -n 1 "$out/display")"
TAVO_HELP_DIR="$(windows "$out/nohelp")" TAVO_SETTINGS_DIR="$(windows "$out/settings")\\" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 timeout 120 /usr/lib/wine/wine64 "$host" "$(windows "$dll")" "$(windows "$out/sample.jwc")" "$(windows "$out")" \
    < /dev/null > "$out/host.log" 2>&1 || fail "the host ended with status $?: $(cat "$out/host.log")"
iconv -f CP932 -t UTF-8 "$out/result.txt" 2>/dev/null | tr -d '\r' > "$out/result-utf8.txt"
cat "$out/result-utf8.txt"

# What the window did, as the preview's model says it must.
expect() { grep -qxF "$1" "$out/result-utf8.txt" || fail "no line \"$1\" in result.txt"; }
w=$(windows "$out")
expect "window: 576 x 432"
expect "progress dialog: shown"
expect "shown: copy disabled, range selection up"
expect "hint of JWC save: 名前をつけてファイルを保存します"
expect "hint of coordinate save: "
expect "range selection begun: copy disabled, range selection pressed"
expect "after Esc: copy disabled, range selection up"
expect "range selected: copy enabled, range selection pressed"
expect "all selected: copy enabled, range selection up"
expect "copied: copy enabled, range selection up"
expect "message: 変換データを $w\\saved.jwc に保存しました"
expect "message: 変換データを $w\\saved.txt に保存しました"
expect "help: no help page for topic 1210 of $w\\settings\\tavo.hlp in $w\\nohelp\\"
expect "modal result: 1"
expect "last error: "
expect "window gone: yes"

# The same bytes as the Linux build makes of the drawing, as the preview does.
"$tavo" convert "$out/sample.jwc" -o "$out/linux.jwc" && "$tavo" convert "$out/sample.jwc" -o "$out/linux.txt" &&
    "$tavo" convert "$out/sample.jwc" -o "$out/linux.jwt" || fail "tavo convert"
cmp "$out/saved.jwc" "$out/linux.jwc" || fail "the saved .jwc differs from the Linux build's"
cmp "$out/saved.txt" "$out/linux.txt" || fail "the saved JWW file differs from the Linux build's"
cmp "$out/clipboard.jwt" "$out/linux.jwt" || fail "the copied JWT text differs from the Linux build's"

# "tavo.ini" after first use: the designed size, the last file saved.
ini=$(iconv -f CP932 -t UTF-8 "$out/settings/tavo.ini" | tr -d '\r')
for line in "Width=576" "Height=432" "IsMaxma=0" "FileName=$w\\saved.txt" "FilePath=$w\\"; do
    grep -qxF "$line" <<< "$ini" || fail "no \"$line\" in tavo.ini: $ini"
done
grep -q '^Left=' <<< "$ini" && grep -q '^Top=' <<< "$ini" || fail "no placement in tavo.ini"

[ -f "$(dirname "$dll")/help/ja/1210.html" ] && [ -f "$(dirname "$dll")/help/en/1210.html" ] ||
    fail "no help pages beside $dll"

for picture in window progress; do
    python3 "$here/bmp_to_png.py" "$out/$picture.bmp" "$out/$picture.png" && echo "screenshot: $out/$picture.png"
done
[ $status -eq 0 ] && echo "the preview window did as on Linux"
exit $status
