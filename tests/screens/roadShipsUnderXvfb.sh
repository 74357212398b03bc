#!/bin/bash
# The real game under Xvfb from the title to the ship and challenge screens,
# driven by xdotool, against the local web service running a daily challenge
# and holding a few daily-tracks submits: a new account, then from the main
# menu the daily challenge, the daily tracks, the hangar and module editing,
# each with a screenshot.
# Usage: roadShipsUnderXvfb.sh <zorbex> <zx_local_service> <data folder> <screenshot folder>
set -u
game="$1"
tool="$2"
data="$3"
out="$4"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/xvfbDriver.sh"
driverSetUp ships

# Each answer of the service takes 1.5 s, so the silent sign-in is still
# running when Back is pressed. The service runs a daily challenge.
startService "$tool" 1500 --showcase

startGame
chooseEnglish
makeAccount Hangar hangar@example.com
# The first visit's help boxes, a click beside them each (Return would also
# press the menu's focused button once they are gone).
dismissTutorials

# The daily challenge, once its manager has it.
for _ in $(seq 30); do
    putAwayWarnings
    xdotool mousemove 710 372 click 1
    waitFor "GameMode = DailyChallenge-L" 1 && break
done
waitReady DailyChallenge-L 60 || fail "the daily challenge did not open"
shot dailyChallenge
# Back, also past its help boxes.
back() {
    dismissTutorialsByKey BackSpace
    keys BackSpace
    waitReady MainMenu 60 "$1"
}
back 2 || fail "Back did not leave the daily challenge"

# The daily tracks.
xdotool mousemove 1030 372 click 1
waitReady DailyTracks 60 || fail "the daily tracks did not open"
shot dailyTracks
back 3 || fail "Back did not leave the daily tracks"

# The hangar of the current ship, then its module editing and back.
xdotool mousemove 1030 270 click 1
waitReady Hangar 60 || fail "the hangar did not open"
shot hangar
dismissTutorials
keys x
waitReady EditModules 60 || fail "module editing did not open"
shot editModules
keys BackSpace
waitReady Hangar 60 2 || fail "Back did not return to the hangar"
back 4 || fail "Back did not leave the hangar"

stopGame
echo "road ok; screenshots in $out"
exit 0
