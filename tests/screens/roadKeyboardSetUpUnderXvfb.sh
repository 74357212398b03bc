#!/bin/bash
# The real game under Xvfb driven by the keyboard alone after Configure
# Keyboard has moved the moves to I, K, J and L: every main-menu tile and
# back, a track chosen in the music browser and played, a pause, the quit
# question answered No with Backspace and then Yes, a restart that keeps the
# keys, and RESET CONTROLLERS on the title that brings the arrows back.
# Screenshots in the screenshot folder.
# Usage: roadKeyboardSetUpUnderXvfb.sh <zorbex> <zx_local_service> <zx_make_music_folder> <data folder>
#        <screenshot folder>
set -u
game="$1"
tool="$2"
makeMusic="$3"
data="$4"
out="$5"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/xvfbDriver.sh"
driverSetUp road_keyboard_setup

"$makeMusic" "$work/My Music" || fail "could not make the music folder"
answerFolderDialog "$work/My Music"
startService "$tool"

startGame
firstRunToMainMenu

# The music folder found (the indexing is not the keyboard's part).
findAndPlayFirstTrack 1 2
menus=2

# Options -> Configure Keyboard (the third row): up, down, left, right, then the four perks.
clickWidget mainMenu.txt Options
waitReady Options 60 || fail "no options"
keys Down Down Return
waitReady Config 60 || fail "Return on the third row did not open the keyboard set-up"
shot configKeyboard
keys i k j l 7 8 9 0
keys Return
waitFor "Config: Keyboard stored with 8 bindings" 10 || fail "the keys were not stored"
waitReady Options 60 2 || fail "the set-up did not lead back to the options"
keys BackSpace
menus=$((menus + 1))
waitReady MainMenu 60 "$menus" || fail "Backspace did not leave the options after the set-up"
dismissTutorialsByKey Return

# The main menu's tiles by the new keys, each path from the top-left small tile.
toTile() {
    keys i i i i i j j j
    [ -n "$1" ] && keys $1
    keys Return
}
backToMenu() {
    menus=$((menus + 1))
    dismissTutorialsByKey BackSpace
    keys BackSpace
    waitReady MainMenu 60 "$menus" || fail "no way back to the main menu from $1"
    dismissTutorialsByKey Return
}
tileRoad() {
    local path="$1" mode="$2" name="$3"
    toTile "$path"
    waitReady "$mode" 60 || fail "the keys did not lead to $mode"
    shot "keys_$name"
    backToMenu "$mode"
}
tileRoad "" MusicTypeList music
tileRoad "l" Gallery ships
tileRoad "l l" Hangar shipDetails
tileRoad "l l l" PerkMenu perks
tileRoad "k l l" DailyTracks dailyTracks
tileRoad "k l l l" PartyLogin party
tileRoad "k k" Leaderboard leaderboard
tileRoad "k k l" FriendCompare friends
tileRoad "k k l l" Achievements achievements
tileRoad "k k l l l" OptionsTwitter twitter
tileRoad "k k k" Options options

# Play: "Your music", the first album and its first track by keys, then the
# track now playing taken with X.
toTile "i"
waitReady GameType 60 || fail "no game type"
dismissTutorialsByKey Return
keys Return
waitReady MusicBrowser 60 2 || fail "Return did not open the music browser"
dismissTutorialsByKey Return
listed=$(logCount "Music browser: ")
keys Tab
waitForNext "Music browser: " "$listed" 10 || fail "Tab did not list the albums"
listed=$(logCount "Music browser: ")
keys k Return
waitForNext "Music browser: " "$listed" 10 || fail "Return did not open the album"
playing=$(logCount "Playing track: ")
keys k Return
waitForNext "Playing track: " "$playing" 10 || fail "Return did not play the track"
shot musicBrowserByKeys
keys x
waitReady GameSettings 60 || fail "X did not take the track now playing"
dismissTutorialsByKey Return
keys Return
waitMode Playing 30 || fail "the game did not start"
waitReady Playing 60 || fail "play did not take input"

# The pause opens on Resume; the quit question on No, which Backspace answers.
keys Escape
waitFor "Paused = 1" 10 || fail "Escape did not pause"
shot pausedOnResume
keys Return
waitFor "Paused = 0" 10 || fail "Return did not resume"
keys Escape
waitFor "Paused = 1" 10 2 || fail "Escape did not pause again"
keys k k Return
waitFor "Confirm shown" 10 || fail "no quit question"
shot quitQuestionOnNo
keys BackSpace
keys Escape
waitFor "Paused = 0" 10 2 || fail "the pause did not stay after No"
keys Escape
waitFor "Paused = 1" 10 3 || fail "Escape did not pause a third time"
keys k k Return
waitFor "Confirm shown" 10 2 || fail "no quit question the second time"
keys i Return
waitFor "Quit track" 10 || fail "Yes did not quit"
menus=$((menus + 1))
waitReady MainMenu 60 "$menus" || fail "no main menu after the quit"
putAwayWarnings
dismissTutorialsByKey Return

# A restart keeps the set-up: the new keys still lead to the tiles.
stopGame
startGame
keys Return
waitReady MainMenu 60 || fail "no main menu after the restart"
dismissTutorialsByKey Return
grep -q "Found mappings for Joystick" "$log" && fail "a pad took the title"
toTile ""
waitReady MusicTypeList 60 || fail "the stored keys did not survive the restart"
menus=1
backToMenu MusicTypeList

# RESET CONTROLLERS on the title: the arrows move again.
stopGame
startGame
sleep 2.5   # the title's buttons come in
clickWidget pressStart.txt ResetController
shot titleAfterReset
keys Return
waitReady MainMenu 60 || fail "Return did not start the game after RESET CONTROLLERS"
dismissTutorialsByKey Return
keys Up Up Up Up Up Left Left Left Return
waitReady MusicTypeList 60 || fail "the arrows did not come back with RESET CONTROLLERS"
shot arrowsAfterReset

stopGame
echo "keyboard set-up road ok; screenshots in $out"
exit 0
