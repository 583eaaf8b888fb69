#!/usr/bin/env bash
# The engine's Double Metaphone keys against the npm package double-metaphone
# (an independent implementation, locked in tests/metaphone) on every word of
# wamerican-huge: every key equal, or the difference explained in compare.mjs.
set -euo pipefail
: "${ROOT:?}" "${BUILD:?}"
TESTS=$ROOT/tests/metaphone
KEYS=$BUILD/tests/metaphone/lxmetaphone
WORDS=/usr/share/dict/american-english-huge

if [ ! -x "$KEYS" ]; then
    echo "metaphone check: $KEYS is missing; build it first" >&2
    exit 1
fi
if [ ! -r "$WORDS" ]; then
    echo "metaphone check: $WORDS is missing (Debian package wamerican-huge)" >&2
    exit 1
fi
source "$ROOT/tests/support/locked-npm.sh"
install_locked "$TESTS" double-metaphone
cd "$TESTS"
exec node compare.mjs "$KEYS" "$WORDS"
