#!/bin/bash
# Starts the game in the X server that xvfb-run made, with the loading screen
# told to save its picture once; waits for the title request, ends the game
# and checks the picture and the log.
# Usage: loadingUnderXvfb.sh <zorbex> <data folder> <checker> <copy of the picture>
set -u
game="$1"
data="$2"
checker="$3"
keep="$4"
save=$(mktemp -d /tmp/zx_loading_XXXXXX)
trap 'rm -rf "$save"' EXIT
unset SDL_VIDEODRIVER SDL_AUDIODRIVER
export ASAN_OPTIONS=detect_leaks=0
ZORBEX_TEST_LOADING_SHOT="$save/loading.png" ZORBEX_SAVE_DIR="$save" ZORBEX_DATA="$data" "$game" &
pid=$!
for _ in $(seq 1 300); do
    grep -q "GameMode = PressStart" "$save/debug.txt" 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -TERM "$pid" 2>/dev/null
wait "$pid"
rc=$?
cat "$save/debug.txt"
[ -f "$save/loading.png" ] && cp "$save/loading.png" "$keep"
if [ "$rc" -ne 0 ]; then echo "exit code $rc"; exit 1; fi
"$checker" "$save/loading.png" "$save/debug.txt"
