#!/usr/bin/env bash
# The game started where there is no display says so in one line on stderr and
# stops with a failure code, well within the time limit.
set -u
err=$(mktemp)
trap 'rm -f "$err"' EXIT
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 20 "$1" >/dev/null 2>"$err"
rc=$?
if [ "$rc" -eq 0 ] || [ "$rc" -eq 124 ] || [ "$(wc -l <"$err")" -ne 1 ] || ! grep -q "^Zorbex: no display" "$err"; then
  echo "expected a quick failure with one line about the display on stderr, got exit code $rc and:"
  cat "$err"
  exit 1
fi
echo "exit code $rc: $(cat "$err")"
