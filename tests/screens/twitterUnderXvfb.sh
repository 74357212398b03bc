#!/bin/bash
# The real game under Xvfb to the Twitter link screen, driven by keys and
# clicks sent with xdotool: from the main menu's Twitter button (and back),
# its link button with no way to reach Twitter (the failure shown), then from
# the options menu's Twitter item (and back there). Screenshots in the
# screenshot folder.
# Usage: twitterUnderXvfb.sh <zorbex> <zx_local_service> <data folder> <screenshot folder>
set -u
game="$1"
tool="$2"
data="$3"
out="$4"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/xvfbDriver.sh"
driverSetUp twitter
startService "$tool"
startGame
sleep 4
firstRunToMainMenu

# From the main menu.
clickWidget mainMenu.txt Twitter
waitMode OptionsTwitter 10 || fail "no Twitter screen from the main menu"
sleep 1.5
shot twitterFromMainMenu
clickWidget optionsTwitter.txt AuthButton
sleep 12   # Twitter can't be reached from here: the request fails
shot twitterLinkFailed
keys BackSpace
waitMode MainMenu 10 2 || fail "Back did not return to the main menu"
sleep 2

# From the options menu: its seventh item (Language, Screen Resolution,
# Configure Keyboard, Volume and Detail, Notifications, Open Mic, Twitter).
clickWidget mainMenu.txt Options
waitMode Options 10 || fail "no options menu"
sleep 1.5
xdotool mousemove 1270 20
for _ in $(seq 6); do keys Down; done
keys Return
waitMode OptionsTwitter 10 2 || fail "no Twitter screen from the options"
sleep 1.5
shot twitterFromOptions
keys BackSpace
waitMode Options 10 2 || fail "Back did not return to the options"

stopGame
echo "twitter road ok; screenshots in $out"
exit 0
