#!/usr/bin/env bash
# The game started where there is no display says so in one line on stderr and
# stops with a failure code, well within the time limit.
set -u
game="$1"
err=$(mktemp)
trap 'rm -f "$err"' EXIT
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 20 "$game" >/dev/null 2>"$err"
rc=$?
if [ "$rc" -eq 0 ] || [ "$rc" -eq 124 ]; then
  echo "expected a quick failure, got exit code $rc"
  cat "$err"
  exit 1
fi
lines=$(wc -l <"$err")
if [ "$lines" -ne 1 ] || ! grep -q "^Zorbex: no display" "$err"; then
  echo "expected one line about the display on stderr, got:"
  cat "$err"
  exit 1
fi
echo "exit code $rc: $(cat "$err")"
