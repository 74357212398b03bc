#!/bin/bash
# The real game under Xvfb from loading to the main menu, driven by keys
# sent with xdotool, against the local web service: the title, Return, the
# language (English), the sign-in screen (Back during the silent Steam sign-in,
# then an account made by hand with the keyboard), the start-up phases and the
# main menu with its music bar: the heart, then Options and Back.
# Usage: roadUnderXvfb.sh <zorbex> <zx_local_service> <data folder> <screenshot folder>
set -u
game="$1"
tool="$2"
data="$3"
out="$4"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/xvfbDriver.sh"
driverSetUp road

# Each answer of the service takes 1.5 s, so the silent sign-in is still
# running when Back is pressed.
startService "$tool" 1500

startGame
shot pressStart

chooseEnglish language
makeAccount Rookie rookie@example.com signIn
shot mainMenuTutorial
# The first visit's help boxes, a click beside them each (Return would also
# press the menu's focused button once they are gone).
dismissTutorials
shot mainMenu

# The music bar's heart, then Options and Back to the menu.
xdotool mousemove 1164 26 click 1
waitFor "Music bar: favourite on" 10 || fail "the heart did not mark the track"
shot musicBarHeart
xdotool mousemove 710 576 click 1
waitReady Options 60 || fail "Options did not open"
keys BackSpace
waitReady MainMenu 60 2 || fail "Back did not return to the menu"
shot backToMenu

stopGame
for line in "Sign in UI - dropped the result of a sign-in left behind" \
            "- StartUp - get token - success" "- StartUp - game config - success" \
            "- StartUp - failed to load local and cloud save, must be new player" \
            "- StartUp - check messages" "- StartUp - finished" "Window 1280 x 720"; do
    grep -qF -- "$line" "$log" || fail "missing log line: $line"
done
grep -qF "Steam Sign In: Success!" "$log" && fail "the abandoned sign-in was taken"
echo "road ok; screenshots in $out"
exit 0
