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
firstRunToMainMenu

# From the main menu.
clickWidget mainMenu.txt Twitter
waitReady OptionsTwitter 60 || fail "no Twitter screen from the main menu"
shot twitterFromMainMenu
clickWidget optionsTwitter.txt AuthButton
waitFor "Twitter: failure shown" 60 || fail "the failed link was not shown"   # Twitter can't be reached from here
shot twitterLinkFailed
keys BackSpace
waitReady MainMenu 60 2 || fail "Back did not return to the main menu"

# From the options menu: its seventh item (Language, Screen Resolution,
# Configure Keyboard, Volume and Detail, Notifications, Open Mic, Twitter).
clickWidget mainMenu.txt Options
waitReady Options 60 || fail "no options menu"
xdotool mousemove 1270 20
for _ in $(seq 6); do keys Down; done
keys Return
waitReady OptionsTwitter 60 2 || fail "no Twitter screen from the options"
shot twitterFromOptions
keys BackSpace
waitMode Options 10 2 || fail "Back did not return to the options"

stopGame
echo "twitter road ok; screenshots in $out"
exit 0
