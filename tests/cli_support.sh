# Sourced by the command's test scripts, called with the tavo program and
# the examples folder: a temporary $dir removed at exit with its own
# settings folder, and the helpers to count failures.
set -u
tavo=$1
examples=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fails=0
export TAVO_SETTINGS_DIR="$dir/settings"

fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

# expect_error PATTERN COMMAND...: the command fails and says PATTERN on stderr.
expect_error() {
    local pattern=$1; shift
    if "$@" > /dev/null 2> "$dir/err"; then fail "no error from: $*"; return; fi
    grep -q -- "$pattern" "$dir/err" || fail "error of '$*' was: $(cat "$dir/err")"
}

finish() {
    [ $fails -eq 0 ] && echo "$1: all checks passed"
    exit $fails
}

# json_check FILE WHAT [ARG...]: the Python lines on stdin hold for o, the
# JSON in FILE (the ARGs are sys.argv[2:]).
json_check() {
    local file=$1 what=$2; shift 2
    /usr/bin/python3 -c "import json, sys
o = json.load(open(sys.argv[1]))
$(cat)" "$file" "$@" || fail "$what: $(cat "$file")"
}

# check_runs: rows "status|pattern on stderr (or none)|tavo's arguments, quoted as in
# the shell" on stdin; each run reads $stdin (or nothing) and, when $lines
# is set, says that many lines.
check_runs() {
    local status pattern args rc
    while IFS='|' read -r status pattern args; do
        eval "set -- $args"
        timeout 60 "$tavo" "$@" < "${stdin:-/dev/null}" > /dev/null 2> "$dir/err"
        rc=$?
        [ $rc -eq "$status" ] && { [ -z "$pattern" ] || grep -q -- "$pattern" "$dir/err"; } \
            && { [ -z "${lines:-}" ] || [ "$(wc -l < "$dir/err")" -eq "$lines" ]; } \
            || fail "tavo $args: status $rc, $(cat "$dir/err")"
    done
}
