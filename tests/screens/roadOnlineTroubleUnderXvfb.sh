#!/bin/bash
# The real game under Xvfb against a local service that answers the start and
# the sign-in but takes every board download and player look-up and never
# answers. From the main menu: a leaderboard (Working, Back at once, then the
# board again until the service is given up), then find player through the
# friend comparison (Working, Back at once, then the look-up given up), and a
# quit while a look-up stalls. Screenshots of each message in the folder.
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
toMainMenu "" --fault stall --fault-ops GetLeaderboard,GetLeaderboardForPlayers,GetLeaderboardSince,FindPlayer
shot mainMenu

# A board: Working while the service stalls; Back leaves it at once.
clickWidget mainMenu.txt Leaderboard
waitReady Leaderboard 60 || fail "no leaderboard screen"
shot leaderboardList
keys Down Down Return
waitFor "Leaderboard: board " 10 || fail "no board opened"
shot leaderboardWorking
keys BackSpace
waitFor "Leaderboard: boards listed" 10 || fail "Back did not return to the boards"
shot leaderboardBack
# The same board again, waited for: the service is given up and said so.
keys Return
waitFor "Leaderboard: board " 10 2 || fail "the board did not open again"
waitFor "not downloaded (timed out)" 20 || fail "the stalled board was never given up"
shot leaderboardTimedOut
keys BackSpace
waitFor "Leaderboard: boards listed" 10 2 || fail "Back did not return to the boards"
keys BackSpace
waitReady MainMenu 60 2 || fail "no way back to the main menu"

# Find player: Working, Back at once; asked again, the look-up is given up.
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

# A quit while a look-up stalls.
askForPlayer 3
start=$(date +%s.%N)
stopGame
echo "quit with a stalled look-up took $(echo "$(date +%s.%N) - $start" | bc) s"
echo "online trouble road ok; screenshots in $out"
