#!/bin/bash
# The real game under Xvfb: a new ship with a hull picture chosen in the ship
# editor (the file dialog answered by this script) is published to the local
# workshop; the game is then started again over the same save folder, where
# the hull is made from the saved picture. Screenshots of the gallery and the
# hangar after the restart are left in the screenshot folder.
# Usage: roadHullUnderXvfb.sh <zorbex> <zx_local_service> <data folder> <screenshot folder>
set -u
game="$1"
tool="$2"
data="$3"
out="$4"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/xvfbDriver.sh"
driverSetUp road_hull
writeHullPictures "$work/hull.png" 160 120
answerFolderDialog "$work/hull.png"
startService "$tool"
startGame
firstRunToMainMenu

newShipInEditor
clickAt 495 "$(editorRow 2)"
waitFor "Load image: $work/hull.png" 15 || fail "the hull was not chosen"
clickAt 495 "$(editorRow 0)"
waitReady Hangar 60 || fail "publishing did not end in the hangar"
[ -n "$(ls "$work"/save/steam/workshop/items/)" ] || fail "no item in the workshop"
clickAt 640 470   # the message's OK
waitFor "Warning put away" 10 || fail "the message's OK did not put it away"
stopGame

# The restart: nothing of the editor's sprite is left; the first screen to
# show the ship makes it again from the picture in the save.
startGame
keys Return
waitReady MainMenu 60 || fail "no main menu after the restart"
dismissTutorials
clickWidget mainMenu.txt ShipHangar
waitReady Gallery 60 || fail "no gallery after the restart"
dismissTutorials
shot galleryAfterRestart
clickAt 1094 286   # DETAILS of the new ship, the second row
waitReady Hangar 60 || fail "Details did not open the hangar"
dismissTutorials
shot hangarAfterRestart
hull=$(grep -oE "Hull sprite made from its image: .*" "$log" | head -1 | tr -d '\r')
[ -n "$hull" ] || fail "the hull was not made from its picture after the restart"
grep -qF "Can't find sprite: ${hull#*: }" "$log" && fail "the hull was drawn without its sprite"
stopGame
echo "hull road ok; screenshots in $out"
exit 0
