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
sleep 4
firstRunToMainMenu

# Short tracks to play: found through the music type list.
clickWidget mainMenu.txt MusicBrowser
waitFor "GameMode = MusicTypeList" 10 || fail "no music type list"
sleep 1.5
dismissTutorials 13
sleep 1
clickAt 640 439
waitFor "GameMode = FindMusic" 10 || fail "no music indexing screen"
sleep 2.5
clickAt 640 427
waitFor "Index: Finished" 90 || fail "the walk did not finish"
sleep 1
keys BackSpace
waitFor "GameMode = MusicTypeList" 10 2 || fail "no way back to the music type list"
sleep 1.5
keys BackSpace
waitFor "GameMode = MainMenu" 10 2 || fail "no way back to the main menu"
sleep 2

# The party: the keyboard player is in; the controller joins.
clickWidget mainMenu.txt PartyMode
waitFor "GameMode = PartyLogin" 10 || fail "no party login"
sleep 2
shot partyLoginAlone
kill -USR1 "$gpid"
waitFor "mappings for Joystick" 10 || fail "the controller did not join"
if grep -qF "Didn't find mappings for Joystick" "$log"; then
    # A controller never seen is set up first; Escape leaves its set-up.
    waitFor "GameMode = Config" 10 || fail "no controller set-up"
    sleep 2
    keys Escape
    waitFor "GameMode = PartyLogin" 10 2 || fail "no way back from the controller set-up"
fi
sleep 2.5
shot partyLogin

keys Return
waitFor "GameMode = PartyGameType" 10 || fail "OK did not lead to the party game type"
sleep 2
# Head to head with the multiplier off, a random track.
keys Right Down Right Right Right Down Right
keys Down Down Down Down
sleep 1
shot partyGameType
keys Return
waitFor "GameMode = GameSettings" 10 || fail "no game settings"
sleep 2
keys Return
waitFor "GameMode = Playing" 20 || fail "the party game did not start"
sleep 6
shot partyHud
waitFor "GameMode = GameOverParty" 90 || fail "the party game did not end"
sleep 2
shot partyGameOver

stopGame
echo "party road ok; screenshots in $out"
exit 0
