#!/bin/sh
# The library exports exactly the functions that tavo.h declares.
set -eu
lib=$1
header=$2
declared=$(sed -n 's/^TAVO_API .* TAVO_CALL \([A-Za-z0-9_]*\)(.*/\1/p' "$header" | sort)
exported=$(nm -D --defined-only "$lib" | awk '$2 == "T" || $2 == "W" || $2 == "D" || $2 == "B" {print $3}' | sort)
if [ "$declared" != "$exported" ]; then
    echo "declared in tavo.h but not exported, or exported but not declared:"
    printf '%s\n' "$declared" > /tmp/tavo-declared.$$
    printf '%s\n' "$exported" | diff /tmp/tavo-declared.$$ - || true
    rm -f /tmp/tavo-declared.$$
    exit 1
fi
echo "$(printf '%s\n' "$declared" | wc -l) exports match tavo.h"
