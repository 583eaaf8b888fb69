#!/usr/bin/env bash
# Measures what the unit and integration tests catch: applies each single-point
# change of tests/mutations.txt (file, exact text, replacement, what it breaks;
# tab-separated) to the source, one at a time, rebuilds in a build folder of
# its own, runs the ctest suite up to its first failure and reports whether the
# suite killed the mutant. The source is restored after each mutant, also when
# the script is interrupted. Not part of CI: a full run takes one to two hours.
#   tests/mutate.sh [PATTERN]   only the mutations whose line holds PATTERN
#   MUTATE_ONLY="1 6 7" tests/mutate.sh   only mutations m1, m6 and m7
# The dictionary data for the real-data tests is built once, unmutated.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=${MUTATE_BUILD:-$ROOT/build-mutate}
JOBS=${LEXORA_JOBS:-2}
PATTERN=${1:-}
ONLY=" ${MUTATE_ONLY:-} "
export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
export LEXORA_APPDIR=$BUILD/appdir LEXORA_BUILD=$BUILD
mkdir -p "$BUILD/logs" "$LEXORA_APPDIR/data"

SAVED=$BUILD/original   # the unmutated copy of the file under test
TARGET=""
restore() {
    # A fresh time stamp, so that the build compiles the restored file again.
    if [ -n "$TARGET" ]; then cp "$SAVED" "$ROOT/$TARGET"; fi
    TARGET=""
}
trap restore EXIT
trap 'restore; exit 130' INT TERM

build() { cmake --build "$BUILD" -j "$JOBS" >"$1" 2>&1; }
# The unit tests first and the tests that start processes or build whole
# dictionaries after them, so that most mutants die within seconds.
SLOW='^(Load|BridgeEngine|RealData|AudioEndToEnd|FaultTest|FixtureBuild)\.'
suite() {
    local pass
    for pass in -E -R; do
        ctest --test-dir "$BUILD" --stop-on-failure --timeout 120 -j "$JOBS" "$pass" "$SLOW" \
            --output-on-failure >>"$1" 2>&1 || return 1
    done
}

# Replaces the one occurrence of OLD in FILE by NEW; fails when OLD does not
# occur exactly once (a stale entry must not pass as a surviving mutant).
apply() {
    python3 - "$@" <<'EOF'
import sys
path, old, new = sys.argv[1:]
text = open(path).read()
if text.count(old) != 1:
    sys.exit(1)
open(path, "w").write(text.replace(old, new))
EOF
}

# gold links the many test programs that each mutant relinks much faster.
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=gold >/dev/null
build "$BUILD/logs/baseline-build.log" || { echo "baseline build failed" >&2; exit 1; }
[ -s "$LEXORA_APPDIR/data/wordnet.lxd" ] ||
    "$BUILD/tools/lxdbuild/lxdbuild" --out "$LEXORA_APPDIR/data" --quiet \
        --node-modules "$ROOT/tools/lxdbuild/node_modules"  # installed by ./lexora test
rm -f "$BUILD"/logs/*-test.log
suite "$BUILD/logs/baseline-test.log" || suite "$BUILD/logs/baseline-test.log" ||
    { echo "suite fails unmutated" >&2; exit 1; }

killed=0 survived=0 other=0 n=0
while IFS= read -r line; do
    [ -z "$line" ] || [ "${line:0:1}" = "#" ] && continue
    # Split by hand: read would merge the empty field of a deletion.
    file=${line%%$'\t'*} rest=${line#*$'\t'}
    old=${rest%%$'\t'*} rest=${rest#*$'\t'}
    new=${rest%%$'\t'*} what=${rest#*$'\t'}
    n=$((n + 1))
    if [ -n "$PATTERN" ] && ! grep -qF -- "$PATTERN" <<<"$file $old $what"; then continue; fi
    if [ "$ONLY" != "  " ] && [[ "$ONLY" != *" $n "* ]]; then continue; fi
    log=$BUILD/logs/m$n.log
    rm -f "$log"
    cp -p "$ROOT/$file" "$SAVED"
    TARGET=$file
    if ! apply "$ROOT/$file" "$old" "$new"; then
        verdict="stale (text not found once)"; other=$((other + 1))
    elif ! build "$log"; then
        verdict="does not build"; other=$((other + 1))
    elif suite "$log" || { echo "== again" >>"$log" && suite "$log"; }; then
        # A failure that does not repeat (the load test's memory check on a
        # busy machine) is no kill.
        verdict="SURVIVED"; survived=$((survived + 1))
    else
        killer=$(sed -nE 's/.*Test +#[0-9]+: ([^ ]+) .*\*\*\*.*/\1/p' "$log" | tail -1)
        verdict="killed by ${killer:-?}"; killed=$((killed + 1))
    fi
    restore
    printf 'm%-3d %-34s %-44s %s\n' "$n" "$file" "$what" "$verdict"
done <"$ROOT/tests/mutations.txt"
# Leave the build matching the restored source.
build "$BUILD/logs/final-build.log" || true
echo "killed $killed, survived $survived, other $other"
