#!/bin/bash
# The real game under Xvfb along one track: the main menu, the game type
# (Standard, with the music playing now), the game settings, the countdown,
# play with the HUD and a pause, to the game over (a new best). The game is
# ended there by the desktop (SIGTERM, as a closed session does) and started
# again over the same save folder, whose main menu's music bar shows the
# track's best and progress.
# Usage: roadTrackUnderXvfb.sh <zorbex> <zx_local_service> <data folder> <screenshot folder>
set -u
. "$(dirname "$0")/xvfbDriver.sh"
openRoad road_track "$@"
toMainMenu
playNowPlaying
waitReady 321Go 60 || fail "no countdown"
shot countdown
waitReady Playing 60 || fail "play did not start"
shot hud
keys Escape
waitFor "Paused = 1" 10 || fail "Escape did not pause"
shot pause
keys Escape
waitFor "Paused = 0" 10 || fail "Escape did not resume"
# The track plays through (or the last life goes) to the game over.
waitReady GameOver 150 || fail "no game over"
dismissTutorialsByKey Return
shot gameOver
restartToMainMenu
shot mainMenuAfterRestart
stopGame
echo "track road ok; screenshots in $out"
