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
