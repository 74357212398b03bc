#!/bin/bash
# The real game under Xvfb from the title to the ship editor, driven by keys
# and clicks sent with xdotool: the gallery's "New ship", a hull image chosen
# in the desktop's file dialog (answered by this script: first a picture too
# large, which is refused, then a generated one), a few handling values
# changed, a test flight entered and left, and the ship published to the
# local workshop as a work in progress. Screenshots in the screenshot folder.
# Usage: shipEditorUnderXvfb.sh <zorbex> <zx_local_service> <data folder> <screenshot folder>
set -u
game="$1"
tool="$2"
data="$3"
out="$4"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/xvfbDriver.sh"
driverSetUp ship_editor

# Two pictures: a hull of 160 x 120 and one of 300 x 200 (over the limit).
/usr/bin/python3 - "$work/hull.png" 160 120 "$work/huge.png" 300 200 <<'PNG' || fail "could not write the pictures"
import struct, sys, zlib

def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

def hull(x, y, w, h):
    # A pointed hull: an arrow head with a lighter spine, clear around it.
    u, v = (x - w / 2) / (w / 2), y / h
    if abs(u) > v * 0.9 or v > 0.95:
        return (0, 0, 0, 0)
    shade = 255 - int(150 * abs(u))
    return (40, shade, 255, 255) if abs(u) > 0.12 else (230, 240, 255, 255)

def write(path, w, h):
    rows = b"".join(b"\0" + b"".join(bytes(hull(x, y, w, h)) for x in range(w)) for y in range(h))
    header = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))

args = sys.argv[1:]
for i in range(0, len(args), 3):
    write(args[i], int(args[i + 1]), int(args[i + 2]))
PNG

startService "$tool"
startGame
firstRunToMainMenu

# The gallery, and a new ship in the editor.
clickWidget mainMenu.txt ShipHangar
waitReady Gallery 60 || fail "no gallery"
dismissTutorials
keys 3
waitReady ShipEditor 60 || fail "New ship did not open the editor"
# The help boxes go with clicks on an empty spot (the rows now start higher).
dismissTutorials 640 650
shot newShip

# The rows of the first group: 34 high, 4 apart, from y 158; the values at x 495.
row() { echo $((175 + 38 * $1)); }

# A picture too large is refused with a message, and the ship keeps its hull.
answerFolderDialog "$work/huge.png"   # the same stand-in answers the file dialog
clickAt 495 "$(row 2)"
waitFor "Ship editor: image too large (300x200)" 15 || fail "the large picture was not refused"
grep -qF "zenity --file-selection" "$work/dialog.log" || fail "the file dialog was not asked"
shot imageTooLarge
clickAt 640 470   # the message's OK
waitFor "Warning put away" 10 || fail "the message's OK did not put it away"

# The generated hull.
answerFolderDialog "$work/hull.png"
clickAt 495 "$(row 2)"
waitFor "Load image: $work/hull.png" 15 || fail "the hull was not chosen"

# Handling: a larger size and more acceleration, by the rows' arrows and by keys.
clickAt 620 "$(row 4)"
clickAt 620 "$(row 4)"
clickAt 620 "$(row 5)"
keys Down Right
shot hullChosen

# A test flight, and back with Escape.
keys x
waitReady Playing 60 || fail "the test flight did not start"
shot testFlight
keys Escape
waitReady ShipEditor 60 2 || fail "the test flight did not return to the editor"
shot backFromTest

# Published as a work in progress: the preview is captured and the ship goes
# to the local workshop; the editor hands over to the hangar.
clickAt 495 "$(row 0)"
waitReady Hangar 60 || fail "publishing did not end in the hangar"
items=("$work"/save/steam/workshop/items/*/title.txt)
[ -f "${items[0]}" ] || fail "no item in the workshop"
grep -qF "New Ship" "${items[0]}" || fail "the workshop item is not the new ship"
[ -s "$(dirname "${items[0]}")/preview.dat" ] || fail "the workshop item has no preview"
shot published
clickAt 640 470      # the message's OK; the hangar's help boxes wait behind it
waitFor "Warning put away" 10 2 || fail "the message's OK did not put it away"
shot hangar

stopGame
echo "road ok; screenshots in $out"
exit 0
