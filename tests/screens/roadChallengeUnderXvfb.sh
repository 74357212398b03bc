#!/bin/bash
# The real game under Xvfb along the daily challenge, heard through the test
# capture source (a tone): Attempt, the countdown that hears the tone, the game
# to its end, back to the challenge, whose board lists the player. A day on
# (the service's clock), the main menu opens the challenge-ship reward and the
# ship unlock in reward mode, and the ship is taken; started once more, no
# reward is shown again.
# Usage: roadChallengeUnderXvfb.sh <zorbex> <zx_local_service> <data folder> <screenshot folder>
set -u
. "$(dirname "$0")/xvfbDriver.sh"
openRoad road_challenge "$@"
export ZORBEX_TEST_CAPTURE=tone
toMainMenu 0 --challenge 20
putAwayWarnings

# The daily challenge opens once the service has named it.
for try in $(seq 20); do
    clickWidget mainMenu.txt DailyChallenge
    waitReady DailyChallenge-L 3 && break
    putAwayWarnings
    [ "$try" -eq 20 ] && fail "no daily challenge screen"
done
dismissTutorials
shot dailyChallenge
keys Return   # Attempt
waitReady GameSettings 60 || fail "no game settings screen"
dismissTutorials
clickAt 1186 678
waitReady 321Go 60 || fail "no countdown"
waitFor "Open mic started: Monitor of Zorbex test source" 10 || fail "the test source was not listened to"
waitReady Playing 60 || fail "the countdown never heard the tone"
waitReady GameOver 120 || fail "no game over"
dismissTutorialsByKey Return
for _ in $(seq 40); do
    [ "$(logCount "GameMode ready: DailyChallenge-L")" -ge 2 ] && break
    if [ "$(logCount "GameMode ready: PerkUnlock")" -ge 1 ] && [ "$(logCount "Perk unlocked: ")" -lt 1 ]; then
        dismissTutorials
        clickAt 640 258
        continue
    fi
    keys Return
    sleep 1
done
waitReady DailyChallenge-L 60 2 || fail "no way back to the challenge"
waitFor "Challenge score " 5 || fail "the attempt's score was not queued"
dismissTutorials
sleep 2   # the board's download
shot challengeBoard
stopGame

# A day on: the finished board places the player, and the main menu opens
# the reward.
kill -USR1 "$spid"
for _ in $(seq 50); do grep -q "clock moved" "$work/service.log" && break; sleep 0.1; done
grep -q "clock moved" "$work/service.log" || fail "the service's clock did not move"
startGame
keys Return
waitReady UnlockChallengeShip 60 || fail "no challenge reward"
shot rewardChallengeShip
keys Return
waitReady UnlockProcShip 60 || fail "no ship unlock in reward mode"
dismissTutorials
shot rewardProcShip
keys Return
sleep 1   # the swap question comes in
shot rewardSwap
keys Return
waitReady MainMenu 60 || fail "no main menu after the reward"
waitFor "Challenge reward: Test Tone, place 1" 1 || fail "the reward line is missing"
stopGame

# Started again: the reward is not shown twice.
startGame
keys Return
waitReady MainMenu 60 || fail "no main menu"
sleep 5
[ "$(logCount "Challenge reward:")" -eq 0 ] || fail "the reward was shown again"
shot mainMenuAfterReward
stopGame
echo "challenge road ok; screenshots in $out"
