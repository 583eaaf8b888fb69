#!/usr/bin/env bash
# What the pages of everyday words open with (see first-senses.py): the
# expected lists beside this script, the 5,000 most frequent words of spoken
# English (SUBTLEX-US, as frequent-words.sh) and WordNet's tag counts. Not
# part of ./lexora test; run by hand after a build:
#   bash bench/coverage/first-senses.sh [BUILD]
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
BUILD=${1:-$HERE/../../build}
WORK=$BUILD/coverage
# frequent-words.sh installs the list and leaves its 5,000 words in $WORK.
bash "$HERE/frequent-words.sh" "$BUILD" 5000 >/dev/null
cmake --build "$BUILD" --target lxfirstsense >/dev/null
# The list spells a word as subtitles mostly do, so words that open lines
# come capitalised (What, No, Miss): they are looked up in lower case, as the
# tag counts they are measured against are counted; the expected words as written.
tr '[:upper:]' '[:lower:]' < "$WORK/frequent-words.txt" |
    cat - <(grep -hv '^#' "$HERE"/expected-first-pos*.txt | cut -f1) |
    "$BUILD/bench/coverage/lxfirstsense" "$BUILD/appdir/data/wordnet.lxd" > "$WORK/openings.tsv"
python3 "$HERE/first-senses.py" "$WORK/openings.tsv" "$WORK/frequent-words.txt" \
    /usr/share/wordnet/cntlist.rev "$HERE/expected-first-pos.txt" \
    "$HERE/expected-first-pos-heldout.txt"
