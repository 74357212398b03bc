#!/bin/bash
# The real game under Xvfb from the title to the music screens, driven by
# keys and clicks sent with xdotool: the silent sign-in, the main menu,
# the music type list, finding music in a folder picked in the desktop's
# folder dialog (answered by this script), the music browser by album with a
# track played, the radio browser and the leaderboards. Screenshots of each
# screen are left in the screenshot folder.
# Usage: roadMusicUnderXvfb.sh <zorbex> <zx_local_service> <zx_make_music_folder> <data folder> <screenshot folder>
set -u
game="$1"
tool="$2"
makeMusic="$3"
data="$4"
out="$5"
here="$(cd "$(dirname "$0")" && pwd)"
mkdir -p "$out"
work=$(mktemp -d /tmp/zx_road_music_XXXXXX)
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

fail() {
    echo "FAIL: $*"
    [ -f "$log" ] && cat "$log"
    exit 1
}
waitFor() {
    local text="$1" seconds="$2" count="${3:-1}" n=0
    while [ "$n" -lt $((seconds * 10)) ]; do
        local found
        found=$(grep -cF -- "$text" "$log" 2>/dev/null)
        [ "${found:-0}" -ge "$count" ] && return 0
        sleep 0.1
        n=$((n + 1))
    done
    return 1
}
shot() {
    xwd -root -silent > "$work/shot.xwd" && /usr/bin/python3 "$here/xwdToPng.py" "$work/shot.xwd" "$out/$1.png" ||
        fail "screenshot $1"
}
keys() {
    for k in "$@"; do
        xdotool key "$k"
        sleep 0.15
    done
}
# The centre of a layout's widget on the 1280 x 720 screen: Pos as a fraction
# of the screen plus Offset in layout pixels (720 lines: one pixel each).
clickWidget() {
    local file="$data/textFiles/layouts/$1" name="$2"
    local xy
    xy=$(awk -v w="$name" '
        $1 == "Widget" && $2 == w { inside = 1; px = 0.5; py = 0.5; ox = 0; oy = 0; next }
        inside && $1 == "Pos" { px = $2; py = $3 }
        inside && $1 == "Offset" && !gadget { ox = $2; oy = $3 }
        inside && ($1 == "Text" || $1 == "Sprite" || $1 == "Progress") { gadget = 1 }
        inside && ($1 == "EndText" || $1 == "EndSprite" || $1 == "EndProgress") { gadget = 0 }
        inside && $1 == "EndWidget" { printf "%d %d\n", px * 1280 + ox, py * 720 + oy; exit }
    ' "$file")
    [ -n "$xy" ] || fail "no widget $name in $1"
    echo "click $name at $xy"
    xdotool mousemove $xy
    sleep 0.2
    xdotool click 1
    sleep 0.3
}

# A row of a menu: its centre on the 1280 x 720 screen, read off the layout
# (the menu's top, the item heights and spacing).
clickAt() {
    xdotool mousemove "$1" "$2"
    sleep 0.2
    xdotool click 1
    sleep 0.3
}

# The music to find, and the folder dialog that picks it.
"$makeMusic" "$work/My Music" || fail "could not make the music folder"
cat > "$work/bin/zenity" <<EOF
#!/bin/sh
echo "zenity \$*" >> "$work/dialog.log"
printf '%s\n' "$work/My Music"
EOF
chmod +x "$work/bin/zenity"

"$tool" "$work/webService.txt" > "$work/service.log" 2>&1 &
spid=$!
for _ in $(seq 50); do [ -s "$work/webService.txt" ] && break; sleep 0.1; done
[ -s "$work/webService.txt" ] || fail "the local service did not start"

PATH="$work/bin:$PATH" ZORBEX_SAVE_DIR="$work/save" ZORBEX_DATA="$data" ZORBEX_WEB_SERVICE="$work/webService.txt" \
    "$game" -NoGoogle -Linux &
gpid=$!
waitFor "GameMode = PressStart" 30 || fail "no title screen"
wid=$(xdotool search --sync --name Zorbex | head -1)
[ -n "$wid" ] || fail "no window"
xdotool windowfocus --sync "$wid"
sleep 4

# To the main menu: the language of a first run, then the silent sign-in
# with the Steam identity.
keys Return
waitFor "GameMode = Language" 30 || fail "no language screen"
sleep 1.5
keys Return
waitFor "Language = English" 10 || fail "English was not chosen"
waitFor "GameMode = MainMenu" 60 || fail "no main menu"
sleep 2
# The tutorials of a first visit: a click on an empty spot puts each away.
dismissTutorials() {
    for _ in $(seq "$1"); do
        xdotool mousemove 200 200 click 1
        sleep 0.45
    done
}
dismissTutorials 10
shot mainMenu

# The music type list.
clickWidget mainMenu.txt MusicBrowser
waitFor "GameMode = MusicTypeList" 10 || fail "no music type list"
sleep 1.5
dismissTutorials 13   # the music tutorials
sleep 1
shot musicTypeList

# Find music: the dialog, the walk, the counts. (Rows 54 high, 10 apart,
# from y 180; the spacer after the third is 30 high.)
clickAt 640 439
waitFor "GameMode = FindMusic" 10 || fail "no music indexing screen"
sleep 2.5
clickAt 640 427   # "Choose a folder"
waitFor "Index: Finished" 90 || fail "the walk did not finish"
grep -qF "zenity --file-selection --directory" "$work/dialog.log" || fail "the folder dialog was not asked"
[ "$(grep -cF "Found Track: $work/My Music/" "$log")" -eq 4 ] || fail "not every track was found"
sleep 1
shot findMusic

# Back to the list, then your music by album; open the first album and play its first track.
keys BackSpace
waitFor "GameMode = MusicTypeList" 10 2 || fail "no way back to the music type list"
sleep 1.5
clickAt 640 207   # "Your music"
waitFor "GameMode = MusicBrowser" 10 || fail "no music browser"
sleep 1.5
clickWidget MusicBrowser.txt Albums
sleep 2
shot musicBrowserAlbums
clickAt 640 250   # the first album
sleep 2
clickAt 640 250   # its first track
waitFor "Playing track: Sunrise" 10 || fail "the album's first track did not play"
sleep 1
shot musicBrowserTrack
keys BackSpace
sleep 0.8
keys BackSpace
waitFor "GameMode = MusicTypeList" 10 3 || fail "no way back from the browser"
sleep 1.5

# The radio browser: the directory is out of reach here, so its lists are empty.
clickAt 640 271   # "Internet radio"
waitFor "GameMode = MusicRadioBrowser" 10 || fail "no radio browser"
sleep 3
shot radioBrowser
keys BackSpace
waitFor "GameMode = MusicTypeList" 20 4 || fail "no way back from the radio browser"
sleep 2.5
keys BackSpace
waitFor "GameMode = MainMenu" 10 2 || fail "no way back to the main menu"
sleep 1.5

# The leaderboards: the list of boards, then the experience board.
clickWidget mainMenu.txt Leaderboard
waitFor "GameMode = Leaderboard" 10 || fail "no leaderboard screen"
sleep 1.5
shot leaderboardList
clickAt 640 274   # the experience board
sleep 2
shot leaderboardBoard

kill -TERM "$gpid"
wait "$gpid"
rc=$?
gpid=""
[ "$rc" -eq 0 ] || fail "exit code $rc"
echo "music road ok; screenshots in $out"
exit 0
