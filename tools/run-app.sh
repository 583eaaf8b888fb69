#!/usr/bin/env bash
# Starts the desktop app: the engine (with its bridge) in the application directory.
set -euo pipefail
BUILD=$1
APPDIR=$2
cd "$APPDIR"
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-dummy}
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT INT TERM
"$BUILD/host/lxcore" &
pids+=($!)
wait -n "${pids[@]}"
