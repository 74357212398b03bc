#!/bin/bash
# The real game under Xvfb from the title to the music screens, driven by
# keys and clicks sent with xdotool: the silent sign-in, the main menu,
# the music type list, finding music in a folder picked in the desktop's
# folder dialog (answered by this script), the music browser by album with a
# track played, the radio browser and the leaderboards. Screenshots of each
# screen are left in the screenshot folder.
# Usage: roadMusicUnderXvfb.sh <zorbex> <zx_local_service> <zx_make_music_folder> <data folder> <screenshot folder>
set -u
game="$1"
tool="$2"
makeMusic="$3"
data="$4"
out="$5"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/xvfbDriver.sh"
driverSetUp road_music

# The music to find, and the folder dialog that picks it.
"$makeMusic" "$work/My Music" || fail "could not make the music folder"
answerFolderDialog "$work/My Music"
startService "$tool"

startGame
sleep 4
# To the main menu: the language of a first run, then the silent sign-in
# with the Steam identity.
chooseEnglish
waitMode MainMenu 60 || fail "no main menu"
sleep 2
dismissTutorials 10
shot mainMenu

# The music type list.
clickWidget mainMenu.txt MusicBrowser
waitFor "GameMode = MusicTypeList" 10 || fail "no music type list"
sleep 1.5
dismissTutorials 13   # the music tutorials
sleep 1
shot musicTypeList

# Find music: the dialog, the walk, the counts. (Rows 54 high, 10 apart,
# from y 180; the spacer after the third is 30 high.)
clickAt 640 439
waitFor "GameMode = FindMusic" 10 || fail "no music indexing screen"
sleep 2.5
clickAt 640 427   # "Choose a folder"
waitFor "Index: Finished" 90 || fail "the walk did not finish"
grep -qF "zenity --file-selection --directory" "$work/dialog.log" || fail "the folder dialog was not asked"
[ "$(grep -cF "Found Track: $work/My Music/" "$log")" -eq 4 ] || fail "not every track was found"
sleep 1
shot findMusic

# Back to the list, then your music by album; open the first album and play its first track.
keys BackSpace
waitFor "GameMode = MusicTypeList" 10 2 || fail "no way back to the music type list"
sleep 1.5
clickAt 640 207   # "Your music"
waitFor "GameMode = MusicBrowser" 10 || fail "no music browser"
sleep 1.5
clickWidget MusicBrowser.txt Albums
sleep 2
shot musicBrowserAlbums
clickAt 640 250   # the first album
sleep 2
clickAt 640 250   # its first track
waitFor "Playing track: Sunrise" 10 || fail "the album's first track did not play"
sleep 1
shot musicBrowserTrack
keys BackSpace
sleep 0.8
keys BackSpace
waitFor "GameMode = MusicTypeList" 10 3 || fail "no way back from the browser"
sleep 1.5

# The radio browser: the directory is out of reach here, so its lists are empty.
clickAt 640 271   # "Internet radio"
waitFor "GameMode = MusicRadioBrowser" 10 || fail "no radio browser"
sleep 3
shot radioBrowser
keys BackSpace
waitFor "GameMode = MusicTypeList" 20 4 || fail "no way back from the radio browser"
sleep 2.5
keys BackSpace
waitFor "GameMode = MainMenu" 10 2 || fail "no way back to the main menu"
sleep 1.5

# The leaderboards: the list of boards, then the experience board.
clickWidget mainMenu.txt Leaderboard
waitFor "GameMode = Leaderboard" 10 || fail "no leaderboard screen"
sleep 1.5
shot leaderboardList
clickAt 640 274   # the experience board
sleep 2
shot leaderboardBoard

stopGame
echo "music road ok; screenshots in $out"
exit 0
