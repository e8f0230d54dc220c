#!/bin/bash
# tavo jwt --clipboard: the exact Shift-JIS bytes on a real X display's
# clipboard, still there after the command has ended; an error with a
# non-zero status when no clipboard can be reached.
source "$(dirname "$0")/cli_support.sh"

"$tavo" build "$examples/sample.csv" --mm --utf8 -o "$dir/a.jwc" || fail "build of the sample"
"$tavo" jwt "$dir/a.jwc" -o "$dir/want.jwt" || fail "jwt to a file"

while IFS='|' read -r environment message; do
    env -u DISPLAY -u WAYLAND_DISPLAY $environment "$tavo" jwt "$dir/a.jwc" --clipboard > "$dir/out" 2> "$dir/err" \
        && fail "--clipboard with '$environment' exited 0"
    grep -q "^tavo: clipboard: $message" "$dir/err" || fail "--clipboard with '$environment': $(cat "$dir/err")"
    [ -s "$dir/out" ] && fail "--clipboard wrote to stdout"
done <<'TABLE'
|cannot be reached: no display
DISPLAY=:9999|the display's clipboard cannot be reached
TABLE

# On a display: the text outlives tavo and goes when another program copies.
xvfb-run -a bash -c '
    "$1" jwt "$2/a.jwc" --clipboard --units world | cmp -s - /dev/null || echo "FAIL: --clipboard also wrote stdout"
    xclip -o -selection clipboard -t "text/plain;charset=Shift_JIS" > "$2/got.jwt" || echo "FAIL: clipboard empty"
    cmp -s "$2/want.jwt" "$2/got.jwt" || echo "FAIL: clipboard bytes differ from tavo jwt"
    xclip -o -selection clipboard | grep -q "^ST,.*\"サンプル平面図\"" || echo "FAIL: clipboard Unicode text"
    "$1" jwt "$2/a.jwc" --clipboard -o "$2/both.jwt" && cmp -s "$2/want.jwt" "$2/both.jwt" \
        || echo "FAIL: --clipboard with -o"
    echo replaced | xclip -selection clipboard
    sleep 0.3
    [ "$(xclip -o -selection clipboard)" = replaced ] || echo "FAIL: another program could not take the clipboard"
' _ "$tavo" "$dir" > "$dir/x11" 2>&1 || fail "xvfb-run: $(cat "$dir/x11")"
grep '^FAIL' "$dir/x11" && fails=$((fails + 1))

finish "cli clipboard"
