#!/bin/bash
# The real game under Xvfb from loading to the main menu, driven by keys
# sent with xdotool, against the local web service: the title, Return, the
# language (English), the sign-in screen (Back during the silent Steam sign-in,
# then an account made by hand with the keyboard), the start-up phases and the
# main menu with its music bar's heart. Then the Twitter link screen from the
# main menu (its link fails: Twitter can't be reached from here) and from the
# options menu, Back each time.
# Usage: roadUnderXvfb.sh <zorbex> <zx_local_service> <data folder> <screenshot folder>
set -u
. "$(dirname "$0")/xvfbDriver.sh"
openRoad road "$@"
# Each answer of the service takes 1.5 s, so the silent sign-in is still
# running when Back is pressed.
startService 1500
startGame
shot pressStart
chooseEnglish language
makeAccount Rookie rookie@example.com signIn
shot mainMenuTutorial
# The first visit's help boxes, a click beside them each (Return would also
# press the menu's focused button once they are gone).
dismissTutorials

xdotool mousemove 1164 26 click 1
waitFor "Music bar: favourite on" 10 || fail "the heart did not mark the track"
shot musicBarHeart

clickWidget mainMenu.txt Twitter
waitReady OptionsTwitter 60 || fail "no Twitter screen from the main menu"
clickWidget optionsTwitter.txt AuthButton
waitFor "Twitter: failure shown" 60 || fail "the failed link was not shown"
shot twitterLinkFailed
keys BackSpace
waitReady MainMenu 60 2 || fail "Back did not return to the main menu"

# The options menu's seventh item (Language, Screen Resolution, Configure
# Keyboard, Volume and Detail, Notifications, Open Mic, Twitter).
clickWidget mainMenu.txt Options
waitReady Options 60 || fail "Options did not open"
xdotool mousemove 1270 20
keys Down Down Down Down Down Down Return
waitReady OptionsTwitter 60 2 || fail "no Twitter screen from the options"
shot twitterFromOptions
keys BackSpace
waitReady Options 60 2 || fail "Back did not return to the options"
keys BackSpace
waitReady MainMenu 60 3 || fail "Back did not return to the menu"
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
