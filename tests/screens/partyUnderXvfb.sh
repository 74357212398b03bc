#!/bin/bash
# The real game under Xvfb: a party of two, the keyboard player and a virtual
# controller (plugged in by the game's ZORBEX_TEST_PAD switch; each SIGUSR1
# presses its first button). Short tracks are found first, then the party
# joins, chooses its game and plays a random track to its end. Screenshots
# of the party login, the party game type and the party HUD.
# Usage: partyUnderXvfb.sh <zorbex> <zx_local_service> <zx_make_music_folder> <data folder> <screenshot folder>
set -u
game="$1"
tool="$2"
makeMusic="$3"
data="$4"
out="$5"
here="$(cd "$(dirname "$0")" && pwd)"
mkdir -p "$out"
work=$(mktemp -d /tmp/zx_party_XXXXXX)
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

clickAt() {
    xdotool mousemove "$1" "$2"
    sleep 0.2
    xdotool click 1
    sleep 0.3
}
dismissTutorials() {
    for _ in $(seq "$1"); do
        xdotool mousemove 200 200 click 1
        sleep 0.45
    done
}
# The centre of a layout's widget on the 1280 x 720 screen.
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
    xdotool mousemove $xy
    sleep 0.2
    xdotool click 1
    sleep 0.3
}

"$makeMusic" "$work/My Music" || fail "could not make the music folder"
cat > "$work/bin/zenity" <<EOT
#!/bin/sh
printf '%s\n' "$work/My Music"
EOT
chmod +x "$work/bin/zenity"

"$tool" "$work/webService.txt" > "$work/service.log" 2>&1 &
spid=$!
for _ in $(seq 50); do [ -s "$work/webService.txt" ] && break; sleep 0.1; done
[ -s "$work/webService.txt" ] || fail "the local service did not start"

PATH="$work/bin:$PATH" ZORBEX_SAVE_DIR="$work/save" ZORBEX_DATA="$data" ZORBEX_WEB_SERVICE="$work/webService.txt" \
    ZORBEX_TEST_PAD="Road Pad" "$game" -NoGoogle -Linux &
gpid=$!
waitFor "GameMode = PressStart" 30 || fail "no title screen"
waitFor "Test pad attached: Road Pad" 5 || fail "no test pad"
wid=$(xdotool search --sync --name Zorbex | head -1)
[ -n "$wid" ] || fail "no window"
xdotool windowfocus --sync "$wid"
sleep 4

keys Return
waitFor "GameMode = MainMenu" 60 || fail "no main menu"
sleep 2
dismissTutorials 10

# Short tracks to play: found through the music type list.
clickWidget mainMenu.txt MusicBrowser
waitFor "GameMode = MusicTypeList" 10 || fail "no music type list"
sleep 1.5
dismissTutorials 13
sleep 1
clickAt 640 439
waitFor "GameMode = FindMusic" 10 || fail "no music indexing screen"
sleep 2.5
clickAt 640 427
waitFor "Index: Finished" 90 || fail "the walk did not finish"
sleep 1
keys BackSpace
waitFor "GameMode = MusicTypeList" 10 2 || fail "no way back to the music type list"
sleep 1.5
keys BackSpace
waitFor "GameMode = MainMenu" 10 2 || fail "no way back to the main menu"
sleep 2

# The party: the keyboard player is in; the controller joins.
clickWidget mainMenu.txt PartyMode
waitFor "GameMode = PartyLogin" 10 || fail "no party login"
sleep 2
shot partyLoginAlone
kill -USR1 "$gpid"
waitFor "mappings for Joystick" 10 || fail "the controller did not join"
if grep -qF "Didn't find mappings for Joystick" "$log"; then
    # A controller never seen is set up first; Escape leaves its set-up.
    waitFor "GameMode = Config" 10 || fail "no controller set-up"
    sleep 2
    keys Escape
    waitFor "GameMode = PartyLogin" 10 2 || fail "no way back from the controller set-up"
fi
sleep 2.5
shot partyLogin

keys Return
waitFor "GameMode = PartyGameType" 10 || fail "OK did not lead to the party game type"
sleep 2
# Head to head with the multiplier off, a random track.
keys Right Down Right Right Right Down Right
keys Down Down Down Down
sleep 1
shot partyGameType
keys Return
waitFor "GameMode = GameSettings" 10 || fail "no game settings"
sleep 2
keys Return
waitFor "GameMode = Playing" 20 || fail "the party game did not start"
sleep 6
shot partyHud
waitFor "GameMode = GameOverParty" 90 || fail "the party game did not end"
sleep 2
shot partyGameOver

kill -TERM "$gpid"
wait "$gpid"
rc=$?
gpid=""
[ "$rc" -eq 0 ] || fail "exit code $rc"
echo "party road ok; screenshots in $out"
exit 0
