#!/usr/bin/env bash
# Starts the desktop app in the application directory: the pronunciation audio
# server and the engine, whose bridge also serves the web app.
set -euo pipefail
BUILD=$(cd "$1" && pwd)
APPDIR=$(cd "$2" && pwd)
cd "$APPDIR"
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-dummy}
PORT=${LXCORE_PORT:-7770}
URL=http://127.0.0.1:$PORT/
# A second engine on the same port would refuse to start anyway; when the
# port already answers as Lexora, say where it is instead.
if page=$(curl -s --max-time 2 "$URL" 2>/dev/null) && [ -n "$page" ]; then
    if [[ $page == *"<title>Lexora</title>"* ]]; then
        echo "Lexora is already running at $URL" >&2
        exit 0
    fi
    echo "port $PORT is in use by another program: set LXCORE_PORT to choose another" >&2
    exit 1
fi
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT INT TERM
if [ -s data/wordnet.lxd ]; then
    "$BUILD/tools/lxaudio/lxaudio" &
    pids+=($!)
else
    echo "[lexora] no dictionary data: pronunciations are off" >&2
fi
LXCORE_PORT=$PORT "$BUILD/host/lxcore" &
engine=$!
pids+=($engine)
echo "Lexora is at $URL  (Ctrl-C stops it)"
# The app lives as long as the engine; an audio server that could not start
# (its port held) has said so and only pronunciations are missing.
wait "$engine"
