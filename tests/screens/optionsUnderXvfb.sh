#!/bin/bash
# The real game under Xvfb: from the title's OPTIONS button through every
# options screen the title offers, driven with xdotool, one screenshot each.
# The music volume is changed and confirmed; the game is ended and started
# again, and the volume screen must show the new value.
# Usage: optionsUnderXvfb.sh <zorbex> <data folder> <screenshot folder>
set -u
game="$1"
data="$2"
out="$3"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/xvfbDriver.sh"
driverSetUp options
start() {
    ZORBEX_SAVE_DIR="$work/save" ZORBEX_DATA="$data" "$game" -NoGoogle -Linux -SteamBoards &
    gpid=$!
    waitMode PressStart 30 "$1" || fail "no title screen"
    focusGame
    sleep 6
}
# The title's OPTIONS button (bottom left), then the options menu.
toOptions() {
    for _ in $(seq 5); do
        xdotool mousemove 150 640 sleep 0.3 mousemove 154 648 sleep 0.3 click 1
        waitMode Options 3 "$1" && break
    done
    waitMode Options 1 "$1" || fail "no options menu"
    xdotool mousemove 1270 20
    sleep 1.5
}
# The n-th item of the options menu (from the title: Language, Screen
# Resolution, Configure Keyboard, Volume and Detail, Open Mic, Twitter,
# Credits, Reset Tutorials).
# The menu keeps the item chosen last while the game runs: the keys go from there.
pos=0
item() {
    sleep 0.5
    while [ "$pos" -lt "$1" ]; do keys Down; pos=$((pos + 1)); done
    while [ "$pos" -gt "$1" ]; do keys Up; pos=$((pos - 1)); done
    keys Return
    sleep 2.5
}

start 1
toOptions 1
shot options

item 3
waitMode OptionsVolume 10 || fail "no volume screen"
waitFor "Volume screen: music 0.8" 10 || fail "the volume did not start at 0.8"
keys Left Left Left
sleep 0.5
shot optionsVolume
keys Return
waitMode Options 10 2 || fail "confirm did not return to the options"
sleep 2.5

item 0
waitMode Language 10 || fail "no language screen"
shot language
keys Return
waitFor "Language = English" 10 || fail "English was not chosen"
waitMode Options 10 3 || fail "back from the language screen"
sleep 2.5

item 1
waitMode SetRez 10 || fail "no resolution screen"
shot setRez
keys BackSpace
waitMode Options 10 4 || fail "back from the resolution screen"
sleep 2.5

item 2
waitMode Config 10 || fail "no configuration screen"
shot config
keys Escape
waitMode Options 10 5 || fail "Escape from the configuration"
sleep 2.5

item 4
waitMode OpenMicSettings 10 || fail "no open-mic settings"
sleep 0.5
shot openMicSetting
# The tutorials first, then OK leaves.
for _ in $(seq 12); do
    waitMode Options 1 6 && break
    keys Return
    sleep 0.6
done
waitMode Options 10 6 || fail "OK from the open-mic settings"
sleep 2.5

item 6
waitMode Credits 10 || fail "no credits"
shot credits
keys BackSpace
waitMode Options 10 7 || fail "back from the credits"
sleep 2.5
keys BackSpace
waitMode PressStart 10 2 || fail "back to the title"
stopGame

# Again: the volume chosen is the one the screen starts from.
start 1
pos=0
toOptions 1
item 3
waitMode OptionsVolume 10 || fail "no volume screen after the restart"
waitFor "Volume screen: music 0.5" 10 || fail "the music volume was not kept"
shot optionsVolumeAfterRestart
stopGame
echo "options ok; screenshots in $out"
exit 0
