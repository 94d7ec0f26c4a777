#!/bin/sh
# check_icon.sh SOURCE_DIR
# The committed icon is the one its source image builds.
set -u
src=$1
out=$(mktemp)
trap 'rm -f "$out"' EXIT
python3 "$src/tools/make_icon.py" "$src/resources/icon105.txt" "$out" || exit 1
if cmp -s "$out" "$src/resources/rodadero.ico"; then
    echo "resources/rodadero.ico matches resources/icon105.txt"
else
    echo "FAIL: resources/rodadero.ico is stale: run tools/make_icon.py resources/icon105.txt resources/rodadero.ico"
    exit 1
fi
