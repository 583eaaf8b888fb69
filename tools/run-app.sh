#!/usr/bin/env bash
# Starts the desktop app in the application directory: the pronunciation audio
# server and the engine, whose bridge also serves the web app.
set -euo pipefail
BUILD=$(cd "$1" && pwd)
APPDIR=$(cd "$2" && pwd)
cd "$APPDIR"
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-dummy}
PORT=${LXCORE_PORT:-7770}
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT INT TERM
if [ -s data/wordnet.lxd ]; then
    "$BUILD/tools/lxaudio/lxaudio" &
    pids+=($!)
else
    echo "[lexora] no dictionary data: pronunciations are off" >&2
fi
LXCORE_PORT=$PORT "$BUILD/host/lxcore" &
pids+=($!)
echo "Lexora is at http://127.0.0.1:$PORT/  (Ctrl-C stops it)"
wait -n "${pids[@]}"
