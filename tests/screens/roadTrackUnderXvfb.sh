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
dismissTutorials 3
clickAt 665 336   # "Now Playing"
sleep 0.5
shot gameType
clickAt 1186 678  # OK on the button bar
waitReady GameSettings 60 || fail "no game settings screen"
dismissTutorials 3
shot gameSettings
clickAt 1186 678
waitMode 321Go 10 || fail "no countdown"
sleep 2.3
shot countdown
waitReady Playing 60 || fail "play did not start"
sleep 4
shot hud

# A pause, and back to play.
keys Escape
sleep 1
shot pause
keys Escape
sleep 1.5

# The track plays through (or the last life goes) to the game over.
waitMode GameOver 150 || fail "no game over"
sleep 3
shot gameOver
keys Return
waitMode RankUp 10 || fail "no rank-up after the game over"
sleep 3
shot rankUp
for _ in $(seq 10); do
    waitMode MainMenu 1 2 && break
    keys Return
    sleep 1
done
waitMode MainMenu 30 2 || fail "no way back to the main menu"
sleep 1.5
shot mainMenuAfter

stopGame
echo "track road ok; screenshots in $out"
exit 0
