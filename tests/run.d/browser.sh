#!/usr/bin/env bash
# Browser tests of the web app: headless Chromium (Debian's) driven by
# playwright-core (npm) against the real lxcore and lxaudio. The tests start
# and stop the programs themselves, each in a scratch application directory
# made from $APPDIR, on free ports (lxaudio on the port the engine's download
# addresses name). Screenshots go to $BUILD/screenshots.
set -euo pipefail
: "${ROOT:?}" "${BUILD:?}" "${APPDIR:?}"
TESTS=$ROOT/tests/browser

for program in "$BUILD/host/lxcore" "$BUILD/tools/lxaudio/lxaudio"; do
    if [ ! -x "$program" ]; then
        echo "browser tests: $program is missing; build it first" >&2
        exit 1
    fi
done
CHROMIUM=${CHROMIUM:-/usr/bin/chromium}
if [ ! -x "$CHROMIUM" ]; then
    echo "browser tests: $CHROMIUM is missing (Debian package chromium)" >&2
    exit 1
fi

source "$ROOT/tests/support/locked-npm.sh"
install_locked "$TESTS" playwright-core

cd "$TESTS"
export BUILD APPDIR CHROMIUM
exec node --test --test-concurrency=1 --test-reporter=spec ./*.test.mjs
