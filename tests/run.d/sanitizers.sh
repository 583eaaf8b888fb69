#!/usr/bin/env bash
# Sanitizer stage. The whole unit and integration suite again, built with
# AddressSanitizer and UndefinedBehaviorSanitizer in $BUILD-asan; then the
# tests in which the plug-in library's threads meet the main thread (bridge,
# event loop, method handlers, the engine process behind the bridge, the load
# of eight clients, the DICT server's concurrent sessions), built with
# ThreadSanitizer in $BUILD-tsan. Any report fails the stage. Both builds
# use -O1 with line tables only, which compiles much faster than the main
# build and still gives readable reports.
set -euo pipefail
: "${ROOT:?}" "${BUILD:?}" "${APPDIR:?}"
JOBS=${JOBS:-2}
FLAGS=(-DCMAKE_BUILD_TYPE=Release "-DCMAKE_C_FLAGS_RELEASE=-O1 -g1"
       "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -g1")
THREAD_TESTS=(test_platform test_host test_integration test_load test_dictserver_e2e)

configure() {  # build folder, sanitizer
    cmake -S "$ROOT" -B "$1" -G Ninja "${FLAGS[@]}" -DLEXORA_SANITIZE="$2" >/dev/null
}

# The lxcore that integration tests start is the sanitized one of the same
# folder, so reports from the engine process end its run and fail the test.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
export SDL_VIDEODRIVER=dummy

echo "sanitizers: address and undefined behaviour"
configure "$BUILD-asan" address
# Everything the tests use; the benchmarks are left out.
cmake --build "$BUILD-asan" -j "$JOBS" --target platform/all db/all render/all host/all \
    tools/all tests/all
LEXORA_APPDIR=$APPDIR LEXORA_BUILD=$BUILD-asan \
    ctest --test-dir "$BUILD-asan" --output-on-failure -j "$JOBS"

echo "sanitizers: threads"
configure "$BUILD-tsan" thread
targets=("${THREAD_TESTS[@]}")
# A listed program that no longer exists fails the build here, rather than
# leaving its threads unchecked without a word.
cmake --build "$BUILD-tsan" -j "$JOBS" --target lxcore "${targets[@]}"
failed=0
for name in "${targets[@]}"; do
    program=$(find "$BUILD-tsan/tests" -name "$name" -type f -perm -u+x | head -n 1)
    # The generated test programs run in the tests folder, as under ctest.
    if ! (cd "$(dirname "$program")" && LEXORA_BUILD=$BUILD-tsan "$program" --gtest_brief=1); then
        echo "sanitizers: $name failed under ThreadSanitizer" >&2
        failed=1
    fi
done
exit "$failed"
