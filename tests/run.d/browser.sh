#!/usr/bin/env bash
# Browser tests of the web app: headless Chromium (Debian's) driven by
# playwright-core (npm) against the real lxcore and lxaudio. The tests start
# and stop the programs themselves, each in a scratch application directory
# made from $APPDIR, on free ports (lxaudio on the port the engine's download
# addresses name). Screenshots go to $BUILD/screenshots.
set -euo pipefail
: "${ROOT:?}" "${BUILD:?}" "${APPDIR:?}"
TESTS=$ROOT/tests/browser
CHROMIUM=${CHROMIUM:-/usr/bin/chromium}

source "$ROOT/tests/support/locked-npm.sh"
for program in "$BUILD/host/lxcore" "$BUILD/tools/lxaudio/lxaudio"; do
    require "browser tests" "$program" "build it first"
done
require "browser tests" "$CHROMIUM" "install the Debian package chromium"
install_locked "$TESTS" playwright-core

cd "$TESTS"
export BUILD APPDIR CHROMIUM
exec node --test --test-concurrency=1 --test-reporter=spec ./*.test.mjs
