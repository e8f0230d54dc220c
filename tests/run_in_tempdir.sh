#!/bin/sh
# Runs PROGRAM ARGS... FOLDER with a fresh folder that is removed afterwards.
set -eu
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$@" "$dir"
