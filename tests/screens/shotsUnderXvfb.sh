#!/bin/bash
# One window shape of `make shots`, run under Xvfb by shots.sh: the real game
# visits the screens a player reaches from the main menu, one PNG each, into
# the shape's folder. The save folder and the local service are shared by the
# shapes: the first shape makes the profile and switches the game to the
# borderless window, so that every shape fills its screen.
# Usage: shotsUnderXvfb.sh <zorbex> <data folder> <shared folder> <WxH> <out folder> [first]
set -u
game="$1"
data="$2"
shared="$3"
shape="$4"
out="$5"
first="${6:-}"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/xvfbDriver.sh"

# The driver's set-up, on the shared save folder and service.
mkdir -p "$out" "$shared/save" "$shared/bin"
work="$shared"
log="$work/save/debug.txt"
gpid=""
spid=""
screenW="${shape%x*}"
screenH="${shape#*x}"
trap '[ -n "$gpid" ] && kill "$gpid" 2>/dev/null && wait "$gpid" 2>/dev/null' EXIT
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0
rm -f "$log"

# The number of times the log has seen the main menu so far.
menus=0
atMainMenu() {
    menus=$((menus + 1))
    waitMode MainMenu "$1" "$menus"
}
# Back until the main menu; first-visit help boxes in the way are put away
# with clicks at the screen's left edge.
backToMenu() {
    for _ in $(seq 12); do
        keys BackSpace
        waitMode MainMenu 2 "$((menus + 1))" && break
        for _ in 1 2 3; do
            xdotool mousemove 2 "$((screenH / 2))" click 1
            sleep 0.3
        done
    done
    atMainMenu 5 || fail "Back did not reach the main menu from $1"
    sleep 1.5
}
# A main-menu tile, its screen's picture, and back.
visit() {
    local tile="$1" state="$2" name="$3"
    clickWidget mainMenu.txt "$tile"
    waitMode "$state" 10 || { echo "skip $name: $state did not open"; return; }
    sleep 3
    shot "$name"
    backToMenu "$name"
}

startGame
sleep 5
if [ -n "$first" ]; then
    # The profile, then the borderless window (the game ends to apply it):
    # from here on the game fills whatever screen it starts on.
    firstRunToMainMenu
    storeBorderlessWindow
    rm -f "$log"
    startGame
    sleep 5
fi
shot title
keys Return
waitMode MainMenu 60 || fail "no main menu"
sleep 2
menus=1
xdotool mousemove 5 5
sleep 1
shot mainMenu

# Play: the game type, the music column focused, then the music browser.
clickWidget mainMenu.txt Play
waitMode GameType 10 || fail "no game type"
sleep 2.5
shot gameType
keys Right
sleep 0.5
shot gameTypeMusicFocused
backToMenu gameType

visit MusicBrowser MusicTypeList musicTypeList
visit ShipHangar Gallery gallery
visit ShipDetails Hangar hangar
visit Perks PerkMenu perkMenu
visit DailyChallenge DailyChallenge-L dailyChallenge
visit DailyTracks DailyTracks dailyTracks
visit PartyMode PartyLogin partyLogin
visit Leaderboard Leaderboard leaderboard
visit FriendCompare FriendCompare friendCompare
visit Achievements Achievements achievements
visit Twitter OptionsTwitter optionsTwitter

# Options and the screens it opens; the menu keeps its item between visits.
clickWidget mainMenu.txt Options
waitMode Options 10 || fail "no options"
# The pointer off the menu, which the keys drive from here.
xdotool mousemove 2 "$((screenH / 2))"
sleep 2.5
shot options
pos=0
option() {
    local k="$1" state="$2" name="$3"
    while [ "$pos" -lt "$k" ]; do keys Down; sleep 1; pos=$((pos + 1)); done
    keys Return
    if waitMode "$state" 10; then
        sleep 2.5
        shot "$name"
    else
        echo "skip $name: the keys did not reach it"
    fi
    # A long list: its end, reached with the keys.
    if [ -n "${4:-}" ]; then
        for _ in $(seq "$4"); do xdotool key Down; sleep 0.05; done
        sleep 1
        shot "${name}End"
    fi
    optionsSeen=$((optionsSeen + 1))
    for _ in $(seq 8); do
        keys BackSpace
        waitMode Options 2 "$optionsSeen" && break
        xdotool mousemove 2 "$((screenH / 2))" click 1
        sleep 0.3
    done
    waitMode Options 5 "$optionsSeen" || fail "Back did not return to the options from $name"
    sleep 2
}
optionsSeen=1
option 0 Language language
option 1 SetRez setRez
option 3 OptionsVolume optionsVolume
option 4 OptionsNotifications optionsNotifications
option 5 OpenMicSettings openMicSettings
option 7 Credits credits 120

stopGame
echo "shots of $shape in $out"
exit 0
