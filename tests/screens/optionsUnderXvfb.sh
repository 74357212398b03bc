#!/bin/bash
# The real game under Xvfb: from the title's OPTIONS button through every
# options screen the title offers, driven with xdotool, one screenshot each.
# The music volume is changed and confirmed; the game is ended and started
# again, and the volume screen must show the new value.
# Usage: optionsUnderXvfb.sh <zorbex> <data folder> <screenshot folder>
set -u
. "$(dirname "$0")/xvfbDriver.sh"
openRoad options "$@"
# The title's OPTIONS button (bottom left), then the options menu once it
# takes input; the pointer is moved off the menu.
toOptions() {
    # A click can land before the pointer's move has reached the game: try again.
    for _ in $(seq 10); do
        clickWidget pressStart.txt Options
        waitMode Options 3 "$1" && break
    done
    waitReady Options 60 "$1" || fail "no options menu"
    xdotool mousemove 1270 20
}
# The n-th item of the options menu (from the title: Language, Screen
# Resolution, Configure Keyboard, Volume and Detail, Open Mic, Twitter,
# Credits, Reset Tutorials).
# The menu keeps the item chosen last while the game runs: the keys go from there.
pos=0
item() {
    while [ "$pos" -lt "$1" ]; do keys Down; pos=$((pos + 1)); done
    while [ "$pos" -gt "$1" ]; do keys Up; pos=$((pos - 1)); done
    keys Return
}

startGame -SteamBoards
toOptions 1
shot options

item 3
waitReady OptionsVolume 60 || fail "no volume screen"
waitFor "Volume screen: music 0.8" 10 || fail "the volume did not start at 0.8"
keys Left Left Left
shot optionsVolume
keys Return
waitReady Options 60 2 || fail "confirm did not return to the options"

item 0
waitReady Language 60 || fail "no language screen"
shot language
keys Return
waitFor "Language = English" 10 || fail "English was not chosen"
waitReady Options 60 3 || fail "back from the language screen"

item 1
waitReady SetRez 60 || fail "no resolution screen"
shot setRez
keys BackSpace
waitReady Options 60 4 || fail "back from the resolution screen"

item 2
waitReady Config 60 || fail "no configuration screen"
shot config
keys Escape
waitReady Options 60 5 || fail "Escape from the configuration"

item 4
waitReady OpenMicSettings 60 || fail "no open-mic settings"
shot openMicSetting
# The help boxes first, then OK leaves.
dismissTutorialsByKey Return
keys Return
waitReady Options 60 6 || fail "OK from the open-mic settings"

item 6
waitReady Credits 60 || fail "no credits"
shot credits
keys BackSpace
waitReady Options 60 7 || fail "back from the credits"
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
