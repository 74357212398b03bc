#!/bin/bash
# The real game under Xvfb: a first game played to its game over (a new
# best), the game ended there by the desktop (SIGTERM, as a closed session
# does), then started again over the same save folder. Screenshots of the game
# over and of the main menu's music bar after the restart, which shows the
# track's best and progress, are left in the screenshot folder.
# Usage: roadKeptUnderXvfb.sh <zorbex> <zx_local_service> <data folder> <screenshot folder>
set -u
game="$1"
tool="$2"
data="$3"
out="$4"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/xvfbDriver.sh"
driverSetUp road_kept
startService "$tool"
startGame
firstRunToMainMenu

clickWidget mainMenu.txt Play
waitReady GameType 60 || fail "no game type screen"
dismissTutorials
clickAt 665 336   # "Now Playing"
clickAt 1186 678  # OK on the button bar
waitReady GameSettings 60 || fail "no game settings screen"
dismissTutorials
clickAt 1186 678
waitReady Playing 90 || fail "play did not start"
waitReady GameOver 150 || fail "no game over"
dismissTutorialsByKey Return
shot gameOverBeforeQuit

stopGame
startGame
keys Return
waitReady MainMenu 60 || fail "no main menu after the restart"
dismissTutorials
shot mainMenuAfterRestart
stopGame
echo "kept road ok; screenshots in $out"
exit 0
