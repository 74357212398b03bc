#!/bin/bash
# The real game under Xvfb in the ship editor: a new ship, a picture too
# large refused, a hull picture chosen in the (answered) file dialog, its
# handling changed, a test flight and back, and the ship published to the
# local workshop. Started again, the hull is made from the saved picture for
# the gallery and the hangar.
# Usage: shipEditorUnderXvfb.sh <zorbex> <zx_local_service> <data folder> <screenshot folder>
set -u
. "$(dirname "$0")/xvfbDriver.sh"
openRoad ship_editor "$@"
# Two pointed hulls: one of 160 x 120 and one of 300 x 200 (over the limit).
/usr/bin/python3 - "$work" <<'PY' || fail "could not write the pictures"
import sys
from PIL import Image, ImageDraw
for name, w, h in (("hull", 160, 120), ("huge", 300, 200)):
    img = Image.new("RGBA", (w, h))
    ImageDraw.Draw(img).polygon([(w / 2, 0), (w * 0.95, h * 0.95), (w * 0.05, h * 0.95)], fill=(40, 200, 255, 255))
    img.save(f"{sys.argv[1]}/{name}.png")
PY
# The editor's rows: 34 high, 4 apart, from y 158; the centre of row k.
editorRow() { echo $((175 + 38 * $1)); }
toMainMenu
clickWidget mainMenu.txt ShipHangar
waitReady Gallery 60 || fail "no gallery"
dismissTutorials
keys 3
waitReady ShipEditor 60 || fail "New ship did not open the editor"
dismissTutorials 640 650   # the editor's rows start high
shot newShip

# A picture too large is refused with a message, and the ship keeps its hull.
answerFolderDialog "$work/huge.png"   # the same stand-in answers the file dialog
clickAt 495 "$(editorRow 2)"
waitFor "Ship editor: image too large (300x200)" 15 || fail "the large picture was not refused"
grep -qF "zenity --file-selection" "$work/dialog.log" || fail "the file dialog was not asked"
shot imageTooLarge
clickAt 640 470   # the message's OK
waitFor "Warning put away" 10 || fail "the message's OK did not put it away"

answerFolderDialog "$work/hull.png"
clickAt 495 "$(editorRow 2)"
waitFor "Load image: $work/hull.png" 15 || fail "the hull was not chosen"
# Handling: a larger size and more acceleration, by the rows' arrows and by keys.
clickAt 620 "$(editorRow 4)"
clickAt 620 "$(editorRow 4)"
clickAt 620 "$(editorRow 5)"
keys Down Right
shot hullChosen

keys x   # a test flight, and back with Escape
waitReady Playing 60 || fail "the test flight did not start"
shot testFlight
keys Escape
waitReady ShipEditor 60 2 || fail "the test flight did not return to the editor"

# Published as a work in progress: the preview is captured and the ship goes
# to the local workshop; the editor hands over to the hangar.
clickAt 495 "$(editorRow 0)"
waitReady Hangar 60 || fail "publishing did not end in the hangar"
items=("$work"/save/steam/workshop/items/*/title.txt)
[ -f "${items[0]}" ] || fail "no item in the workshop"
grep -qF "New Ship" "${items[0]}" || fail "the workshop item is not the new ship"
[ -s "$(dirname "${items[0]}")/preview.dat" ] || fail "the workshop item has no preview"
shot published
clickAt 640 470      # the message's OK; the hangar's help boxes wait behind it
waitFor "Warning put away" 10 2 || fail "the message's OK did not put it away"

# The restart: nothing of the editor's sprite is left; the first screen to
# show the ship makes it again from the picture in the save.
restartToMainMenu
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
echo "ship editor road ok; screenshots in $out"
