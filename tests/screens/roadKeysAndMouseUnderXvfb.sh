#!/bin/bash
# The real game under Xvfb, the main menu's tiles one after another and back
# with the keyboard only; then a track started with Quick Play (keys), paused,
# resumed and played to its end, on to the rank-up, and the perk unlock and
# the main menu clicked with the mouse (which play must have given back).
# Screenshots in the screenshot folder.
# The player starts a little below rank 2, so the perk unlock follows the rank-up.
# Usage: roadKeysAndMouseUnderXvfb.sh <zorbex> <zx_local_service> <zx_make_music_folder> <zx_seed_progress_save>
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
driverSetUp road_keys_mouse

"$makeMusic" "$work/My Music" || fail "could not make the music folder"
SDL_VIDEODRIVER=dummy ZORBEX_DATA="$data" "$seedSave" "$work/save" 59000 > "$work/seed.log" 2>&1 || { cat "$work/seed.log"; fail "could not seed the save"; }
answerFolderDialog "$work/My Music"
startService "$tool"

startGame
firstRunToMainMenu
shot mainMenu

# Keyboard only. From wherever the focus is (or none), Up and Left end on the
# top-left small tile ("MusicBrowser"); each tile is a path of arrows from there.
menus=1
toTile() {
    keys Up Up Up Up Up Left Left Left
    [ -n "$1" ] && keys $1
    keys Return
}
# Back (Backspace) until the main menu: each press puts a help box away or goes back.
backToMenu() {
    menus=$((menus + 1))
    dismissTutorialsByKey BackSpace
    keys BackSpace
    waitReady MainMenu 60 "$menus" || fail "no way back to the main menu from $1"
    dismissTutorials
}
tileRoad() {
    local path="$1" mode="$2" name="$3"
    toTile "$path"
    waitReady "$mode" 60 || fail "the keys did not lead to $mode"
    shot "keys_$name"
    backToMenu "$mode"
}
tileRoad "Up" GameType play
tileRoad "" MusicTypeList music
tileRoad "Right" Gallery ships
tileRoad "Right Right" Hangar shipDetails
tileRoad "Right Right Right" PerkMenu perks
tileRoad "Down Right Right" DailyTracks dailyTracks
tileRoad "Down Right Right Right" PartyLogin party
tileRoad "Down Down" Leaderboard leaderboard
tileRoad "Down Down Right" FriendCompare friends
tileRoad "Down Down Right Right" Achievements achievements
tileRoad "Down Down Right Right Right" OptionsTwitter twitter
tileRoad "Down Down Down" Options options
shot mainMenuAfterKeys

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

# On to the rank-up (the menus have music again after the track), then the
# mouse, which play must have given back: a perk taken, a tile of the menu.
keys Return
waitMode RankUp 20 || fail "no rank-up after the game over"
grep -q "Game over (track)" "$log" && { waitFor "Menu music: " 10 || fail "no music in the menus after the track"; }
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
dismissTutorials
shot mainMenuAfterPlay
clickWidget mainMenu.txt Perks
waitReady PerkMenu 60 2 || fail "the mouse did not reach the main menu's tiles"
shot perkMenuByMouse

stopGame
echo "keys and mouse road ok; screenshots in $out"
exit 0
