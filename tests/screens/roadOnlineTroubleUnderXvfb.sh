#!/bin/bash
# The real game under Xvfb against a local service that never answers player
# look-ups: find player (from the friend comparison) shows Working, leaves at
# once on Back and gives the service up when waited for; the game ended while
# a look-up stalls exits at once and cleanly. (The leaderboard's stalls are
# the screen tests' part.)
# Usage: roadOnlineTroubleUnderXvfb.sh <zorbex> <zx_local_service> <data folder> <screenshot folder>
set -u
. "$(dirname "$0")/xvfbDriver.sh"
openRoad road_online "$@"
# Find player from the friend comparison (the count-th visit), an id typed.
askForPlayer() {
    local opened finished
    opened=$(logCount "Text entry: open")
    finished=$(logCount "Text entry: done")
    keys Return
    waitReady FindPlayer 60 "$1" || fail "no find player screen (visit $1)"
    clickWidget findPlayer.txt EnterNameTextBox
    waitForNext "Text entry: open" "$opened" 10 || fail "the id box did not open"
    xdotool type --delay 50 "4242"
    keys Return
    waitForNext "Text entry: done" "$finished" 10 || fail "the id was not entered"
}
toMainMenu "" --fault stall --fault-ops FindPlayer
clickWidget mainMenu.txt FriendCompare
waitReady FriendCompare 60 || fail "no friend comparison"
askForPlayer 1
shot findPlayerWorking
keys BackSpace
waitFor "Find player: left before the answer" 3 || fail "Back waited for the look-up"
waitReady FriendCompare 60 2 || fail "Back did not return to the friend comparison"
askForPlayer 2
waitFor "Find player: 4242 not looked up: timed out" 20 || fail "the stalled look-up was never given up"
shot findPlayerTimedOut
keys BackSpace
waitReady FriendCompare 60 3 || fail "no way back from find player"
askForPlayer 3
stopGame
echo "online trouble road ok; screenshots in $out"
