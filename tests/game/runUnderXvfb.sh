#!/bin/bash
# Starts the game in the X server that xvfb-run made, lets it run, ends it
# with SIGTERM and checks that it shut down normally.
# Usage: runUnderXvfb.sh <zorbex> <data folder>
set -u
game="$1"
data="$2"
save=$(mktemp -d /tmp/zx_xvfb_XXXXXX)
trap 'rm -rf "$save"' EXIT
unset SDL_VIDEODRIVER SDL_AUDIODRIVER
# The GL driver and the desktop bus keep a little memory to the end; those
# leaks are not ours.
export ASAN_OPTIONS=detect_leaks=0
ZORBEX_SAVE_DIR="$save" ZORBEX_DATA="$data" "$game" &
pid=$!
sleep 3
if ! kill -0 "$pid" 2>/dev/null; then
    echo "the game ended by itself"
    wait "$pid"
    cat "$save/debug.txt"
    exit 1
fi
kill -TERM "$pid"
wait "$pid"
rc=$?
cat "$save/debug.txt"
if [ "$rc" -ne 0 ]; then echo "exit code $rc"; exit 1; fi
grep -q "GameMode = " "$save/debug.txt" || { echo "no GameMode lines"; exit 1; }
grep -q "Window 1280 x 720" "$save/debug.txt" || { echo "no 1280 x 720 window"; exit 1; }
grep -q "OpenGL " "$save/debug.txt" || { echo "no GL context"; exit 1; }
exit 0
