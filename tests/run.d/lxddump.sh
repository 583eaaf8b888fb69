#!/bin/bash
# lxddump on the built dictionary and on damaged copies of it: every run must
# end with status 0 or 1 (a report), never by a signal.
set -u
dump=$BUILD/tools/lxddump/lxddump
data=$APPDIR/data/wordnet.lxd
if [ ! -x "$dump" ] || [ ! -f "$data" ]; then
    echo "lxddump: no tool or no dictionary built; skipped"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

run() {  # file, then lxddump's options
    local status=0
    "$dump" "$@" >/dev/null 2>&1 || status=$?
    if [ "$status" -le 1 ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "lxddump $* ended with status $status"
    fi
}

run_all() {
    run "$1"
    run "$1" --word dog
    run "$1" --word Paris
    run "$1" --list "" --count 200
    run "$1" --list m --backward --count 200
}

run_all "$data"
size=$(stat -c %s "$data")
header_words=(4 8 12 16 28 32)
copy=$work/damaged.lxd
# Overwrite each header offset with an absurd value, then stretches of 64
# bytes at offsets spread over the whole file; finally a truncated copy.
for word in "${header_words[@]}"; do
    cp "$data" "$copy"
    printf '\xF0\xFF\xFF\x7F' | dd of="$copy" bs=1 seek="$word" conv=notrunc status=none
    run_all "$copy"
done
for step in 1 2 3 5 8 13 21 34 55 89; do
    cp "$data" "$copy"
    head -c 64 /dev/zero | tr '\0' '\377' |
        dd of="$copy" bs=1 seek=$((64 + (size - 128) * step / 100)) conv=notrunc status=none
    run_all "$copy"
done
head -c $((size / 2)) "$data" >"$copy"
run_all "$copy"
echo "lxddump: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
