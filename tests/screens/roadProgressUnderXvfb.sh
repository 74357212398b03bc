#!/bin/bash
# The real game under Xvfb: the perk menu from the main menu and back, then
# one track played to its end (a generated 40-second track found in a music
# folder and started with Quick Play), the game-over screen and the rank-up
# screen with its bar counting, and on from there. Screenshots in the
# screenshot folder.
# The player starts a little below rank 2, so the track's score takes them
# over it and the perk unlock follows the rank-up.
# Usage: roadProgressUnderXvfb.sh <zorbex> <zx_local_service> <zx_make_music_folder> <zx_seed_progress_save>
#        <data folder> <screenshot folder>
set -u
game="$1"
tool="$2"
makeMusic="$3"
seedSave="$4"
data="$5"
out="$6"
here="$(cd "$(dirname "$0")" && pwd)"
mkdir -p "$out"
work=$(mktemp -d /tmp/zx_road_progress_XXXXXX)
mkdir -p "$work/save" "$work/bin"
log="$work/save/debug.txt"
gpid=""
spid=""
cleanup() {
    [ -n "$gpid" ] && kill "$gpid" 2>/dev/null && wait "$gpid" 2>/dev/null
    [ -n "$spid" ] && kill "$spid" 2>/dev/null && wait "$spid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=detect_leaks=0

. "$here/xvfbDriver.sh"

"$makeMusic" "$work/My Music" || fail "could not make the music folder"
"$seedSave" "$work/save" 59000 > "$work/seed.log" 2>&1 || { cat "$work/seed.log"; fail "could not seed the save"; }
cat > "$work/bin/zenity" <<DIALOG
#!/bin/sh
printf '%s\n' "$work/My Music"
DIALOG
chmod +x "$work/bin/zenity"

"$tool" "$work/webService.txt" > "$work/service.log" 2>&1 &
spid=$!
for _ in $(seq 50); do [ -s "$work/webService.txt" ] && break; sleep 0.1; done
[ -s "$work/webService.txt" ] || fail "the local service did not start"

PATH="$work/bin:$PATH" ZORBEX_SAVE_DIR="$work/save" ZORBEX_DATA="$data" ZORBEX_WEB_SERVICE="$work/webService.txt" \
    "$game" -NoGoogle -Linux &
gpid=$!
waitMode PressStart 30 || fail "no title screen"
wid=$(xdotool search --sync --name Zorbex | head -1)
[ -n "$wid" ] || fail "no window"
xdotool windowfocus --sync "$wid"
sleep 4
keys Return
waitMode Language 30 || fail "no language screen"
sleep 1.5
keys Return
waitMode MainMenu 60 || fail "no main menu"
sleep 2
dismissTutorials 10

# The perk menu and back.
clickWidget mainMenu.txt Perks
waitMode PerkMenu 10 || fail "no perk menu"
sleep 2
shot perkMenu
keys BackSpace
waitMode MainMenu 10 2 || fail "no way back from the perk menu"
sleep 1.5

# A track to play: the music folder found, its first album's first track started.
clickWidget mainMenu.txt MusicBrowser
waitMode MusicTypeList 10 || fail "no music type list"
sleep 1.5
dismissTutorials 13
clickAt 640 439
waitMode FindMusic 10 || fail "no music indexing screen"
sleep 2.5
clickAt 640 427
waitFor "Index: Finished" 90 || fail "the walk did not finish"
keys BackSpace
waitMode MusicTypeList 10 2 || fail "no way back to the music type list"
sleep 1.5
clickAt 640 207
waitMode MusicBrowser 10 || fail "no music browser"
sleep 1.5
clickWidget MusicBrowser.txt Albums
sleep 2
clickAt 640 250
sleep 2
clickAt 640 250
waitFor "Playing track: Sunrise" 10 || fail "no track playing"
keys BackSpace
sleep 0.8
keys BackSpace
waitMode MusicTypeList 10 3 || fail "no way back from the browser"
sleep 1.5
keys BackSpace
waitMode MainMenu 10 3 || fail "no way back to the main menu"
sleep 1.5

# Quick play: the countdown, then the track to its end with the fire held.
clickWidget mainMenu.txt QuickPlay
waitMode Playing 30 || fail "the game did not start"
xdotool mousemove 640 200 mousedown 1
sleep 10
shot playing
waitFor "Game over (" 90 || { xdotool mouseup 1; fail "the track did not end"; }
xdotool mouseup 1
waitMode GameOver 10 || fail "no game-over screen"
sleep 3
dismissTutorials 3
shot gameOver

# Rank-up: the award counted into the bars, then on.
keys Return
waitMode RankUp 20 || fail "no rank-up screen"
sleep 2.5
shot rankUpCounting
sleep 3
shot rankUp
keys Return
waitFor "GameMode = " 10 8 || true
sleep 3
grep -qE "GameMode = (PerkUnlock|MainMenu|UnlockProcShip)" "$log" || fail "rank-up led nowhere"
if grep -qF "GameMode = PerkUnlock" "$log"; then
    dismissTutorials 1
    shot perkUnlock
fi

kill -TERM "$gpid"
wait "$gpid"
rc=$?
gpid=""
[ "$rc" -eq 0 ] || fail "exit code $rc"
echo "progress road ok; screenshots in $out"
exit 0
