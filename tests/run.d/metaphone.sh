#!/usr/bin/env bash
# The engine's Double Metaphone keys against the npm package double-metaphone
# (an independent implementation, locked in tests/metaphone) on every word of
# wamerican-huge: every key equal, or the difference explained in compare.mjs.
set -euo pipefail
: "${ROOT:?}" "${BUILD:?}"
TESTS=$ROOT/tests/metaphone
KEYS=$BUILD/tests/metaphone/lxmetaphone
WORDS=/usr/share/dict/american-english-huge

source "$ROOT/tests/support/locked-npm.sh"
require "metaphone check" "$KEYS" "build it first"
require "metaphone check" "$WORDS" "install the Debian package wamerican-huge"
install_locked "$TESTS" double-metaphone
cd "$TESTS"
exec node compare.mjs "$KEYS" "$WORDS"
