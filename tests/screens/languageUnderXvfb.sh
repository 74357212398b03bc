#!/bin/bash
# The real game under Xvfb, driven by keys and clicks sent with xdotool: from
# the main menu to Options -> Language, German and then Japanese chosen as a
# player does, and in each the options, the main menu, the HUD of a game and
# its pause. Screenshots (options_de, mainMenu_de, hud_de, pause_de and the
# same with _ja) are left in the screenshot folder.
# Usage: languageUnderXvfb.sh <zorbex> <zx_local_service> <data folder> <screenshot folder>
set -u
. "$(dirname "$0")/xvfbDriver.sh"
openRoad language "$@"
toMainMenu
menus=1      # main menu entries so far
options=0    # options menu entries so far
languages=1  # language screen entries so far (the first run's)
games=0      # games started so far

# Options from the main menu, Language (the menu's first item), then the
# language steps down from the one in use; the options come back in it.
chooseLanguage() {
    local name="$1" steps="$2"
    clickWidget mainMenu.txt Options
    options=$((options + 1))
    waitReady Options 60 "$options" || fail "no options menu"
    keys Return
    languages=$((languages + 1))
    waitReady Language 60 "$languages" || fail "Language is not the options' first item"
    for _ in $(seq "$steps"); do keys Down; done
    keys Return
    waitFor "Language = $name" 10 || fail "$name was not chosen"
    options=$((options + 1))
    waitReady Options 60 "$options" || fail "no options menu after choosing $name"
}

# The main menu, then a game of the track playing now with its HUD and a
# pause, quit back to the main menu.
playAndQuit() {
    local tag="$1"
    games=$((games + 1))
    playNowPlaying "$games"
    waitReady Playing 60 "$games" || fail "play did not start"
    shot "hud_$tag"
    keys Escape
    waitFor "Paused = 1" 10 "$games" || fail "Escape did not pause"
    shot "pause_$tag"
    local asked
    asked=$(logCount "Confirm shown")
    clickWidget pause.txt QuitTrack
    waitForNext "Confirm shown" "$asked" 10 || fail "Quit asked nothing"
    keys Up Return   # the question opens on "No"
    waitFor "Quit track" 10 "$games" || fail "the track was not quit"
    menus=$((menus + 1))
    waitReady MainMenu 60 "$menus" || fail "no main menu after quitting"
    dismissTutorials
}

for lang in "German de 1" "Japanese ja 5"; do
    set -- $lang
    chooseLanguage "$1" "$3"
    shot "options_$2"
    keys BackSpace
    menus=$((menus + 1))
    waitReady MainMenu 60 "$menus" || fail "no main menu after the options"
    dismissTutorials
    shot "mainMenu_$2"
    playAndQuit "$2"
done
grep -q "can't find tag" "$log" && fail "a text has no tag: $(grep "can't find tag" "$log" | head -3)"
stopGame
echo "language road ok; screenshots in $out"
