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
. "$(dirname "$0")/xvfbDriver.sh"
openRoad road_keyboard_setup "$@"
musicFolder
toMainMenu

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

# The main menu's tiles by the new keys (the arrows' road visits them all).
moveKeys="i k j l"
tileRoads 3<<'EOF'
MusicTypeList music
Down Down Right Right Right OptionsTwitter twitter
Down Down Down Options options
EOF

# Play: "Your music", the first album and its first track by keys, then the
# track now playing taken with X.
toTile Up
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
restartToMainMenu
grep -q "Found mappings for Joystick" "$log" && fail "a pad took the title"
toTile ""
waitReady MusicTypeList 60 || fail "the stored keys did not survive the restart"

# RESET CONTROLLERS on the title: the arrows move again.
stopGame
startGame
sleep 2.5   # the title's buttons come in
clickWidget pressStart.txt ResetController
shot titleAfterReset
keys Return
waitReady MainMenu 60 || fail "Return did not start the game after RESET CONTROLLERS"
dismissTutorialsByKey Return
moveKeys="Up Down Left Right"
toTile ""
waitReady MusicTypeList 60 || fail "the arrows did not come back with RESET CONTROLLERS"
shot arrowsAfterReset

stopGame
echo "keyboard set-up road ok; screenshots in $out"
