#!/bin/bash
# The real game under Xvfb: a party of two, the keyboard player and a virtual
# controller (plugged in by the game's ZORBEX_TEST_PAD switch; each SIGUSR1
# presses its first button). Short tracks are found first, then the party
# joins, chooses its game and plays a random track to its end. Screenshots
# of the party login, the party game type and the party HUD.
# Usage: partyUnderXvfb.sh <zorbex> <zx_local_service> <zx_make_music_folder> <data folder> <screenshot folder>
set -u
. "$(dirname "$0")/xvfbDriver.sh"
openRoad party "$@"
musicFolder
ZORBEX_TEST_PAD="Road Pad" toMainMenu
waitFor "Test pad attached: Road Pad" 5 || fail "no test pad"

# Short tracks to play, found through the music type list; on the way, the
# radio browser (the directory is out of reach here, so its lists are empty).
findMusic 1
clickAt 640 271   # "Internet radio"
waitReady MusicRadioBrowser 60 || fail "no radio browser"
shot radioBrowser
keys BackSpace
waitReady MusicTypeList 60 3 || fail "no way back from the radio browser"
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
