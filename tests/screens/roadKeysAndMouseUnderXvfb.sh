#!/bin/bash
# The real game under Xvfb, the main menu's tiles one after another and back
# with the keyboard only (the hangar's module editing too); then a track
# started with Quick Play (keys), paused, resumed and played to its end, the
# rank-up with its bar counting over a rank (the player starts a little below
# rank 2), and the perk unlock and the main menu clicked with the mouse (which
# play must have given back). Then Configure Keyboard moves the moves to I, K,
# J and L: Quick Play by them, a pause, the quit question answered No with
# Backspace and then Yes, a restart that keeps the keys, and RESET CONTROLLERS
# on the title that brings the arrows back.
# Usage: roadKeysAndMouseUnderXvfb.sh <zorbex> <zx_local_service> <zx_make_music_folder> <zx_seed_progress_save>
#        <data folder> <screenshot folder>
set -u
. "$(dirname "$0")/xvfbDriver.sh"
openRoad road_keys_mouse "$@"
# The music folder (two albums of 40-second tracks) the folder dialog answers with.
"$makeMusic" "$work/My Music" > /dev/null || fail "could not make the music folder"
answerFolderDialog "$work/My Music"
SDL_VIDEODRIVER=dummy ZORBEX_DATA="$data" "$seedSave" "$work/save" 59000 > "$work/seed.log" 2>&1 ||
    { cat "$work/seed.log"; fail "could not seed the save"; }
toMainMenu
menus=1
tileRoads 3<<'EOF2'
Up GameType play
MusicTypeList music
Right Gallery ships
Right Right Hangar shipDetails
Right Right Right PerkMenu perks
Down Right Right DailyTracks dailyTracks
Down Right Right Right PartyLogin party
Down Down Leaderboard leaderboard
Down Down Right FriendCompare friends
Down Down Right Right Achievements achievements
Down Down Right Right Right OptionsTwitter twitter
Down Down Down Options options
EOF2
toTile "Right Right"
waitReady Hangar 60 2 || fail "the keys did not lead to the hangar again"
keys x
waitReady EditModules 60 || fail "module editing did not open"
shot editModules
keys BackSpace
waitReady Hangar 60 3 || fail "Back did not return to the hangar"
tileBack Hangar

# Short tracks found in the music folder (clicks: this is not the keyboard's
# road), the first album's first track ("Sunrise") played, back to the menu.
clickWidget mainMenu.txt MusicBrowser
waitReady MusicTypeList 60 2 || fail "no music type list"
dismissTutorials
clickAt 640 439   # "Find music", below the spacer
waitReady FindMusic 60 || fail "no music indexing screen"
clickAt 640 427   # "Choose a folder"
waitFor "Index: Finished" 90 || fail "the walk did not finish"
grep -qF "zenity --file-selection --directory" "$work/dialog.log" || fail "the folder dialog was not asked"
[ "$(grep -cF "Found Track: $work/My Music/" "$log")" -eq 4 ] || fail "not every track was found"
shot findMusic
keys BackSpace
waitReady MusicTypeList 60 3 || fail "no way back to the music type list"
clickAt 640 207   # "Your music"
waitReady MusicBrowser 60 || fail "no music browser"
listed=$(logCount "Music browser: ")
clickWidget MusicBrowser.txt Albums
waitForNext "Music browser: " "$listed" 10 || fail "no albums listed"
listed=$(logCount "Music browser: ")
clickAt 640 250
waitForNext "Music browser: " "$listed" 10 || fail "the first album did not open"
clickAt 640 250
waitFor "Playing track: Sunrise" 10 || fail "the album's first track did not play"
shot musicBrowserTrack
listed=$(logCount "Music browser: ")
keys BackSpace
waitForNext "Music browser: " "$listed" 10 || fail "Back did not close the album"
keys BackSpace
waitReady MusicTypeList 60 4 || fail "no way back from the browser"
keys BackSpace
menus=$((menus + 1))
waitReady MainMenu 60 "$menus" || fail "no way back to the main menu"
dismissTutorials

# Quick Play by keys; a pause (the music bar shows it), play on, to the end.
toTile "Up Right"
waitMode Playing 30 || fail "the game did not start"
xdotool mousemove 640 200 mousedown 1
waitReady Playing 60 || fail "play did not take input"
keys Escape
waitFor "Paused = 1" 10 || fail "Escape did not pause"
shot paused
keys Escape
waitFor "Paused = 0" 10 || fail "Escape did not resume"
waitFor "Game over (" 90 || { xdotool mouseup 1; fail "the track did not end"; }
xdotool mouseup 1
waitReady GameOver 60 || fail "no game-over screen"
dismissTutorials
shot gameOver

# On to the rank-up (the menus have music again after the track): the award
# counted into the bars across the rank boundary, then the mouse: a perk
# taken, with none left to unlock on to the main menu, and a tile there.
keys Return
waitMode RankUp 20 || fail "no rank-up after the game over"
grep -q "Game over (track)" "$log" && { waitFor "Menu music: " 10 || fail "no music in the menus after the track"; }
waitFor "Rank up: 2" 30 || fail "the bar did not cross into rank 2"
waitFor "Rank-up screen: OK offered" 60 || fail "the count did not end"
shot rankUp
keys Return
waitReady PerkUnlock 60 || fail "no perk unlock after the rank-up"
dismissTutorials
shot perkUnlock
clickAt 640 258
waitFor "Perk unlocked: " 10 || fail "the mouse did not reach the perk unlock"
menus=$((menus + 1))
waitReady MainMenu 60 "$menus" || fail "the perk unlock led elsewhere"
last=$(grep -aoE "GameMode = [A-Za-z0-9-]+" "$log" | tail -1)
[ "$last" = "GameMode = MainMenu" ] || fail "the perk unlock led to ${last:-nothing}"
dismissTutorials
clickWidget mainMenu.txt Perks
waitReady PerkMenu 60 2 || fail "the mouse did not reach the main menu's tiles"
shot perkMenuByMouse
tileBack PerkMenu

# Options -> Configure Keyboard (the third row): up, down, left, right, then the four perks.
clickWidget mainMenu.txt Options
waitReady Options 60 2 || fail "no options"
keys Down Down Return
waitReady Config 60 || fail "Return on the third row did not open the keyboard set-up"
shot configKeyboard
keys i k j l 7 8 9 0
keys Return
waitFor "Config: Keyboard stored with 8 bindings" 10 || fail "the keys were not stored"
waitReady Options 60 3 || fail "the set-up did not lead back to the options"
keys BackSpace
menus=$((menus + 1))
waitReady MainMenu 60 "$menus" || fail "Backspace did not leave the options after the set-up"
dismissTutorialsByKey Return

# Quick Play by the new keys.
moveKeys="i k j l"
toTile "Up Right"
waitMode Playing 30 2 || fail "the new keys did not start a game"
waitReady Playing 60 2 || fail "play did not take input"

# The pause opens on Resume; the quit question on No, which Backspace answers.
paused=$(logCount "Paused = 1")
resumed=$(logCount "Paused = 0")
asked=$(logCount "Confirm shown")
keys Escape
waitFor "Paused = 1" 10 $((paused + 1)) || fail "Escape did not pause"
shot pausedOnResume
keys Return
waitFor "Paused = 0" 10 $((resumed + 1)) || fail "Return did not resume"
keys Escape
waitFor "Paused = 1" 10 $((paused + 2)) || fail "Escape did not pause again"
keys k k Return
waitFor "Confirm shown" 10 $((asked + 1)) || fail "no quit question"
shot quitQuestionOnNo
keys BackSpace
keys Escape
waitFor "Paused = 0" 10 $((resumed + 2)) || fail "the pause did not stay after No"
keys Escape
waitFor "Paused = 1" 10 $((paused + 3)) || fail "Escape did not pause a third time"
keys k k Return
waitFor "Confirm shown" 10 $((asked + 2)) || fail "no quit question the second time"
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
echo "keys and mouse road ok; screenshots in $out"
