#!/bin/bash
# The real game under Xvfb: the loading screen's picture (saved once by the
# game) and the log checked; then from the title's OPTIONS button through every
# options screen the title offers, one screenshot each; the Twitter link fails
# and says so. The music volume is changed and confirmed; started again, the
# volume screen must show the new value.
# Usage: optionsUnderXvfb.sh <zorbex> <check_loading_shot> <data folder> <screenshot folder>
set -u
. "$(dirname "$0")/xvfbDriver.sh"
openRoad options "$@"
twitterUnreachable
# The title's OPTIONS button, then the options menu; a click can land before
# the pointer's move has reached the game: tried again.
toOptions() {
    for _ in $(seq 10); do
        clickWidget pressStart.txt Options
        waitMode Options 3 "$1" && break
    done
    waitReady Options 60 "$1" || fail "no options menu"
    xdotool mousemove 1270 20
}
# The n-th item of the options menu (from the title: Language, Screen
# Resolution, Configure Keyboard, Volume and Detail, Open Mic, Twitter,
# Credits, Reset Tutorials), from the item chosen last.
pos=0
item() {
    while [ "$pos" -lt "$1" ]; do keys Down; pos=$((pos + 1)); done
    while [ "$pos" -gt "$1" ]; do keys Up; pos=$((pos - 1)); done
    keys Return
}

ZORBEX_TEST_LOADING_SHOT="$work/loading.png" startGame -SteamBoards
cp "$work/loading.png" "$out/loading.png" 2>/dev/null
grep -qF "GameMode = Loading" "$log" || fail "no loading screen"
"$checkLoading" "$work/loading.png" || fail "the loading screen's picture"
toOptions 1
shot options

item 3
waitReady OptionsVolume 60 || fail "no volume screen"
waitFor "Volume screen: music 0.8" 10 || fail "the volume did not start at 0.8"
keys Left Left Left
shot optionsVolume
keys Return
waitReady Options 60 2 || fail "confirm did not return to the options"

# Each screen, its picture, and the key that leaves it (the open-mic
# settings' help boxes put away first). The Twitter link fails (its hosts are
# a closed local port) and says so.
visits=2   # the options menu's so far
while read -r n state name leave <&3; do
    item "$n"
    waitReady "$state" 60 || fail "no $state screen"
    if [ "$state" = OptionsTwitter ]; then
        clickWidget optionsTwitter.txt AuthButton
        waitFor "Twitter: failure shown" 60 || fail "the failed link was not shown"
    fi
    shot "$name"
    dismissTutorialsByKey Return
    keys "$leave"
    visits=$((visits + 1))
    waitReady Options 60 "$visits" || fail "$leave did not lead from $state to the options"
done 3<<'EOF'
0 Language language Return
1 SetRez setRez BackSpace
2 Config config Escape
4 OpenMicSettings openMicSetting Return
5 OptionsTwitter twitterLinkFailed BackSpace
6 Credits credits BackSpace
EOF
waitFor "Language = English" 1 || fail "English was not chosen"
keys BackSpace
waitReady PressStart 60 2 || fail "back to the title"
stopGame

# Again: the volume chosen is the one the screen starts from.
startGame -SteamBoards
pos=0
toOptions 1
item 3
waitReady OptionsVolume 60 || fail "no volume screen after the restart"
waitFor "Volume screen: music 0.5" 10 || fail "the music volume was not kept"
shot optionsVolumeAfterRestart
stopGame
echo "options ok; screenshots in $out"
