#!/bin/bash
# The real game under Xvfb against a local service that answers the start and
# the sign-in but takes every board download and player look-up and never
# answers. From the main menu: a leaderboard (Working, Back at once, then the
# board again until the service is given up), then find player through the
# friend comparison (Working, Back at once, then the look-up given up), and a
# quit while a look-up stalls. Screenshots of each message in the folder.
# Usage: roadOnlineTroubleUnderXvfb.sh <zorbex> <zx_local_service> <data folder> <screenshot folder>
set -u
game="$1"
tool="$2"
data="$3"
out="$4"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/xvfbDriver.sh"
# Find player from the friend comparison (the count-th visit), an id typed.
askForPlayer() {
    keys Return
    waitMode FindPlayer 10 "$1" || fail "no find player screen (visit $1)"
    sleep 1.5
    clickWidget findPlayer.txt EnterNameTextBox
    xdotool type --delay 50 "4242"
    keys Return
}
driverSetUp road_online
startService "$tool" "" --fault stall --fault-ops GetLeaderboard,GetLeaderboardForPlayers,GetLeaderboardSince,FindPlayer
startGame
sleep 4
firstRunToMainMenu
shot mainMenu

# A board: Working while the service stalls; Back leaves it at once.
clickWidget mainMenu.txt Leaderboard
waitMode Leaderboard 10 || fail "no leaderboard screen"
sleep 1.5
shot leaderboardList
keys Down Down Return
sleep 0.8
shot leaderboardWorking
keys BackSpace
sleep 0.6
shot leaderboardBack
# The same board again, waited for: the service is given up and said so.
keys Return
waitFor "not downloaded (timed out)" 20 || fail "the stalled board was never given up"
sleep 0.8
shot leaderboardTimedOut
keys BackSpace
sleep 0.5
keys BackSpace
waitMode MainMenu 10 2 || fail "no way back to the main menu"
sleep 1.5

# Find player: Working, Back at once; asked again, the look-up is given up.
clickWidget mainMenu.txt FriendCompare
waitMode FriendCompare 10 || fail "no friend comparison"
sleep 1.5
askForPlayer 1
sleep 0.8
shot findPlayerWorking
keys BackSpace
waitFor "Find player: left before the answer" 3 || fail "Back waited for the look-up"
waitMode FriendCompare 10 2 || fail "Back did not return to the friend comparison"
sleep 1.5
askForPlayer 2
waitFor "Find player: 4242 not looked up: timed out" 20 || fail "the stalled look-up was never given up"
sleep 0.8
shot findPlayerTimedOut
keys BackSpace
waitMode FriendCompare 10 3 || fail "no way back from find player"
sleep 1.5

# A quit while a look-up stalls.
askForPlayer 3
sleep 0.5
start=$(date +%s.%N)
stopGame
echo "quit with a stalled look-up took $(echo "$(date +%s.%N) - $start" | bc) s"
echo "online trouble road ok; screenshots in $out"
exit 0
