#!/bin/bash
# The real game under Xvfb along the road of one track, driven by keys and
# clicks sent with xdotool: the main menu, the game type with the music
# playing now, the game settings, the 3-2-1-Go countdown, play with its HUD,
# a pause and back, the track played through to the game over, and OK on to
# the rank-up and back to the main menu. Screenshots of each screen are left
# in the screenshot folder.
# Usage: roadTrackUnderXvfb.sh <zorbex> <zx_local_service> <data folder> <screenshot folder>
set -u
game="$1"
tool="$2"
data="$3"
out="$4"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/xvfbDriver.sh"
driverSetUp road_track
startService "$tool"
startGame
# To the main menu: the language of a first run, then the silent sign-in.
firstRunToMainMenu
shot mainMenu

# The game type: Standard (chosen at entry) with the music playing now.
clickWidget mainMenu.txt Play
waitReady GameType 60 || fail "no game type screen"
dismissTutorials
clickAt 665 336   # "Now Playing"
shot gameType
clickAt 1186 678  # OK on the button bar
waitReady GameSettings 60 || fail "no game settings screen"
dismissTutorials
shot gameSettings
clickAt 1186 678
waitReady 321Go 60 || fail "no countdown"
shot countdown
waitReady Playing 60 || fail "play did not start"
shot hud

# A pause, and back to play.
keys Escape
waitFor "Paused = 1" 10 || fail "Escape did not pause"
shot pause
keys Escape
waitFor "Paused = 0" 10 || fail "Escape did not resume"

# The track plays through (or the last life goes) to the game over.
waitReady GameOver 150 || fail "no game over"
dismissTutorialsByKey Return
shot gameOver
keys Return
waitReady RankUp 60 || fail "no rank-up after the game over"
shot rankUp
# Once the count ends Return leads on: to the perk unlock when the score
# crossed a rank with a perk to choose, else to the main menu.
waitFor "Rank-up screen: OK offered" 60 || fail "the rank-up count did not end"
keys Return
for _ in $(seq 600); do
    [ "$(logCount "GameMode ready: PerkUnlock")" -ge 1 ] && break
    [ "$(logCount "GameMode = MainMenu")" -ge 2 ] && break
    sleep 0.1
done
if [ "$(logCount "GameMode ready: PerkUnlock")" -ge 1 ]; then
    dismissTutorials
    clickAt 640 258   # the first perk of the list
    waitFor "Perk unlocked: " 30 || fail "no perk taken"
fi
waitReady MainMenu 60 2 || fail "no way back to the main menu"
dismissTutorials
shot mainMenuAfter

stopGame
echo "track road ok; screenshots in $out"
exit 0
