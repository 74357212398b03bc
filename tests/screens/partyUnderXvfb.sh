#!/bin/bash
# The real game under Xvfb: a party of two, the keyboard player and a virtual
# controller (plugged in by the game's ZORBEX_TEST_PAD switch; each SIGUSR1
# presses its first button). Short tracks are found first, then the party
# joins, chooses its game and plays a random track to its end. Screenshots
# of the party login, the party game type and the party HUD.
# Usage: partyUnderXvfb.sh <zorbex> <zx_local_service> <zx_make_music_folder> <data folder> <screenshot folder>
set -u
game="$1"
tool="$2"
makeMusic="$3"
data="$4"
out="$5"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/xvfbDriver.sh"
driverSetUp party

"$makeMusic" "$work/My Music" || fail "could not make the music folder"
answerFolderDialog "$work/My Music"
startService "$tool"

ZORBEX_TEST_PAD="Road Pad" startGame
waitFor "Test pad attached: Road Pad" 5 || fail "no test pad"
firstRunToMainMenu

# Short tracks to play: found through the music type list.
clickWidget mainMenu.txt MusicBrowser
waitReady MusicTypeList 60 || fail "no music type list"
dismissTutorials
clickAt 640 439
waitReady FindMusic 60 || fail "no music indexing screen"
clickAt 640 427
waitFor "Index: Finished" 90 || fail "the walk did not finish"
keys BackSpace
waitReady MusicTypeList 60 2 || fail "no way back to the music type list"
keys BackSpace
waitReady MainMenu 60 2 || fail "no way back to the main menu"
dismissTutorials

# The party: the keyboard player is in; the controller joins.
clickWidget mainMenu.txt PartyMode
waitReady PartyLogin 60 || fail "no party login"
shot partyLoginAlone
kill -USR1 "$gpid"
waitFor "mappings for Joystick" 10 || fail "the controller did not join"
if grep -qF "Didn't find mappings for Joystick" "$log"; then
    # A controller never seen is set up first; Escape leaves its set-up.
    waitReady Config 60 || fail "no controller set-up"
    keys Escape
    waitReady PartyLogin 60 2 || fail "no way back from the controller set-up"
fi
shot partyLogin

keys Return
waitReady PartyGameType 60 || fail "OK did not lead to the party game type"
# Head to head with the multiplier off, a random track.
keys Right Down Right Right Right Down Right
keys Down Down Down Down
shot partyGameType
keys Return
waitReady GameSettings 60 || fail "no game settings"
keys Return
waitReady Playing 60 || fail "the party game did not start"
shot partyHud
waitReady GameOverParty 90 || fail "the party game did not end"
shot partyGameOver

stopGame
echo "party road ok; screenshots in $out"
exit 0
