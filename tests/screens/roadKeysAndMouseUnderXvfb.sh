#!/bin/bash
# The real game under Xvfb, the main menu's tiles one after another and back
# with the keyboard only (the hangar's module editing too); then a track
# started with Quick Play (keys), paused, resumed and played to its end, the
# rank-up with its bar counting over a rank, and the perk unlock and the main
# menu clicked with the mouse (which play must have given back). The player
# starts a little below rank 2, so the perk unlock follows the rank-up.
# Usage: roadKeysAndMouseUnderXvfb.sh <zorbex> <zx_local_service> <zx_make_music_folder> <zx_seed_progress_save>
#        <data folder> <screenshot folder>
set -u
. "$(dirname "$0")/xvfbDriver.sh"
openRoad road_keys_mouse "$@"
musicFolder
seedProgress 59000
toMainMenu
menus=1
tileRoads 3<<'EOF'
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
EOF
toTile "Right Right"
waitReady Hangar 60 2 || fail "the keys did not lead to the hangar again"
keys x
waitReady EditModules 60 || fail "module editing did not open"
shot editModules
keys BackSpace
waitReady Hangar 60 3 || fail "Back did not return to the hangar"
tileBack Hangar

# A short track to play, found in the music folder (clicks: this is not the keyboard's road).
menus=$((menus + 1))
findAndPlayFirstTrack 2 "$menus"

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
stopGame
echo "keys and mouse road ok; screenshots in $out"
