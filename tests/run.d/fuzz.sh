#!/usr/bin/env bash
# Fuzzing stage. Builds the libFuzzer targets of fuzz/ with clang (ASan and
# UBSan on) in $BUILD-fuzz, replays every committed input once (the seeds and
# the regression inputs kept from earlier crashes), then fuzzes each target
# for a bounded time over a scratch copy of its corpus. Any crash, sanitizer
# report, leak, input slower than a second or memory blow-up fails the stage;
# the input that caused it is kept in $BUILD-fuzz/artifacts.
#   FUZZ_SECONDS  total fuzzing time, shared by the targets (default 60)
set -euo pipefail
: "${ROOT:?}" "${BUILD:?}"
JOBS=${JOBS:-2}
FUZZ_BUILD=$BUILD-fuzz
TARGETS=(fuzz_database fuzz_answers fuzz_ipa fuzz_inflate)
SECONDS_EACH=$(( ${FUZZ_SECONDS:-60} / ${#TARGETS[@]} ))

if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ is missing (Debian packages clang, libclang-rt-14-dev)" >&2
    exit 1
fi
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$FUZZ_BUILD" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLEXORA_FUZZ=ON >/dev/null
cmake --build "$FUZZ_BUILD" -j "$JOBS" --target "${TARGETS[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts=$FUZZ_BUILD/artifacts
mkdir -p "$artifacts"
# The targets make their scratch application directories under TMPDIR.
export TMPDIR=$work
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
LIMITS=(-timeout=1 -rss_limit_mb=1536 -malloc_limit_mb=512 -max_len=8192)

failed=0
for target in "${TARGETS[@]}"; do
    program=$FUZZ_BUILD/fuzz/$target
    committed=$ROOT/fuzz/corpus/$target
    log=$work/$target.log
    # Every committed input once.
    if ! "$program" "${LIMITS[@]}" "$committed"/* >"$log" 2>&1; then
        echo "fuzz: $target fails on a committed input:" >&2
        grep -E "Running:|ERROR|SUMMARY" "$log" | tail -5 >&2
        failed=1
        continue
    fi
    # Then new inputs for a bounded time, starting from a copy of the corpus.
    mkdir -p "$work/corpus/$target"
    cp "$committed"/* "$work/corpus/$target/"
    if ! "$program" "${LIMITS[@]}" -max_total_time="$SECONDS_EACH" -print_final_stats=1 \
        -artifact_prefix="$artifacts/$target-" "$work/corpus/$target" >"$log" 2>&1; then
        echo "fuzz: $target failed; the input is in $artifacts:" >&2
        grep -E "ERROR|SUMMARY|Test unit written" "$log" | tail -5 >&2
        failed=1
        continue
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    corpus=$(find "$work/corpus/$target" -type f | wc -l)
    echo "fuzz: $target: ${runs:-?} inputs run in ${SECONDS_EACH}s, corpus $corpus inputs" \
        "($(find "$committed" -type f | wc -l) committed)"
done
exit "$failed"
