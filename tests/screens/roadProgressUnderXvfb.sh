#!/bin/bash
# The real game under Xvfb: the perk menu from the main menu and back, then
# one track played to its end (a generated 40-second track found in a music
# folder and started with Quick Play), the game-over screen and the rank-up
# screen with its bar counting over a rank, the perk unlock and one perk
# taken, back to the main menu. Screenshots in the
# screenshot folder.
# The player starts a little below rank 2, so the track's score takes them
# over it and the perk unlock follows the rank-up.
# Usage: roadProgressUnderXvfb.sh <zorbex> <zx_local_service> <zx_make_music_folder> <zx_seed_progress_save>
#        <data folder> <screenshot folder>
set -u
game="$1"
tool="$2"
makeMusic="$3"
seedSave="$4"
data="$5"
out="$6"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/xvfbDriver.sh"
driverSetUp road_progress

"$makeMusic" "$work/My Music" || fail "could not make the music folder"
SDL_VIDEODRIVER=dummy ZORBEX_DATA="$data" "$seedSave" "$work/save" 59000 > "$work/seed.log" 2>&1 || { cat "$work/seed.log"; fail "could not seed the save"; }
answerFolderDialog "$work/My Music"
startService "$tool"

startGame
firstRunToMainMenu

# The perk menu and back.
clickWidget mainMenu.txt Perks
waitReady PerkMenu 60 || fail "no perk menu"
shot perkMenu
keys BackSpace
waitReady MainMenu 60 2 || fail "no way back from the perk menu"
dismissTutorials

# A track to play: the music folder found, its first album's first track started.
findAndPlayFirstTrack 1 3

# Quick play: the countdown, then the track to its end with the fire held.
clickWidget mainMenu.txt QuickPlay
waitMode Playing 30 || fail "the game did not start"
xdotool mousemove 640 200 mousedown 1
waitReady Playing 60 || fail "play did not take input"
shot playing
waitFor "Game over (" 90 || { xdotool mouseup 1; fail "the track did not end"; }
xdotool mouseup 1
waitReady GameOver 60 || fail "no game-over screen"
dismissTutorials
shot gameOver

# Rank-up: the award counted into the bars across the rank boundary, the
# badge celebrated, then on to the perk unlock.
keys Return
waitReady RankUp 60 || fail "no rank-up screen"
shot rankUpCounting
waitFor "Rank up: 2" 30 || fail "the bar did not cross into rank 2"
shot rankUpCrossed
waitFor "Rank-up screen: OK offered" 30 || fail "the count did not end"
shot rankUp
keys Return
waitReady PerkUnlock 60 || fail "no perk unlock after the rank-up"
dismissTutorials
shot perkUnlock

# The first perk of the list taken; with none left to unlock the game moves on.
clickAt 640 258
waitFor "Perk unlocked: " 10 || fail "no perk unlocked"
waitReady MainMenu 60 4 || fail "the perk unlock led nowhere"
last=$(grep -aoE "GameMode = [A-Za-z0-9-]+" "$log" | tail -1)
[ "$last" = "GameMode = MainMenu" ] || fail "the perk unlock led to ${last:-nothing}"
shot mainMenuAfter

stopGame
echo "progress road ok; screenshots in $out"
exit 0
