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
# To the main menu: the language of a first run, then the silent sign-in
# with the Steam identity.
chooseEnglish
waitReady MainMenu 60 || fail "no main menu"
dismissTutorials
shot mainMenu

# The music type list.
clickWidget mainMenu.txt MusicBrowser
waitReady MusicTypeList 60 || fail "no music type list"
dismissTutorials   # the music tutorials
shot musicTypeList

# Find music: the dialog, the walk, the counts. (Rows 54 high, 10 apart,
# from y 180; the spacer after the third is 30 high.)
clickAt 640 439
waitReady FindMusic 60 || fail "no music indexing screen"
clickAt 640 427   # "Choose a folder"
waitFor "Index: Finished" 90 || fail "the walk did not finish"
grep -qF "zenity --file-selection --directory" "$work/dialog.log" || fail "the folder dialog was not asked"
[ "$(grep -cF "Found Track: $work/My Music/" "$log")" -eq 4 ] || fail "not every track was found"
shot findMusic

# Back to the list, then your music by album; open the first album and play its first track.
keys BackSpace
waitReady MusicTypeList 60 2 || fail "no way back to the music type list"
clickAt 640 207   # "Your music"
waitReady MusicBrowser 60 || fail "no music browser"
listed=$(logCount "Music browser: ")
clickWidget MusicBrowser.txt Albums
waitForNext "Music browser: " "$listed" 10 || fail "no albums listed"
shot musicBrowserAlbums
listed=$(logCount "Music browser: ")
clickAt 640 250   # the first album
waitForNext "Music browser: " "$listed" 10 || fail "the first album did not open"
clickAt 640 250   # its first track
waitFor "Playing track: Sunrise" 10 || fail "the album's first track did not play"
shot musicBrowserTrack
listed=$(logCount "Music browser: ")
keys BackSpace
waitForNext "Music browser: " "$listed" 10 || fail "Back did not close the album"
keys BackSpace
waitReady MusicTypeList 60 3 || fail "no way back from the browser"

# The radio browser: the directory is out of reach here, so its lists are empty.
clickAt 640 271   # "Internet radio"
waitReady MusicRadioBrowser 60 || fail "no radio browser"
shot radioBrowser
keys BackSpace
waitReady MusicTypeList 60 4 || fail "no way back from the radio browser"
keys BackSpace
waitReady MainMenu 60 2 || fail "no way back to the main menu"

# The leaderboards: the list of boards, then the experience board.
clickWidget mainMenu.txt Leaderboard
waitReady Leaderboard 60 || fail "no leaderboard screen"
shot leaderboardList
clickAt 640 274   # the experience board
shot leaderboardBoard

stopGame
echo "music road ok; screenshots in $out"
exit 0
