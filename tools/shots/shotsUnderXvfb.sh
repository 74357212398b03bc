#!/bin/bash
# One pass of `make shots`, run under Xvfb by shots.sh: the real game visits
# the screens a player reaches from the main menu, one PNG each, into the
# pass's folder. shots.sh gives each pass a fresh copy of one save folder; the
# local service is shared. The last argument picks what the pass does:
#   seed            a first run: the profile, then the borderless window
#                   stored, so that every later pass fills its screen
#   <Language>:<n>  that language chosen first (n steps down its list), then
#                   only the main screens
#   (none)          every screen, in English
set -u
game="$1"
data="$2"
shared="$3"
shape="$4"
out="$5"
kind="${6:-}"
language=""
full=1
case "$kind" in
    seed | "") ;;
    *) language="${kind%:*}" full="" ;;
esac
# The roads' driver: start-up, waits, keys, clicks and screenshots.
. "$(dirname "$0")/../../tests/screens/xvfbDriver.sh"

# The driver's set-up, on the shared save folder and service.
mkdir -p "$out" "$shared/save" "$shared/bin"
work="$shared"
log="$work/save/debug.txt"
gpid=""
spid=""
screenW="${shape%x*}"
screenH="${shape#*x}"
trap '[ -n "$gpid" ] && kill "$gpid" 2>/dev/null && wait "$gpid" 2>/dev/null' EXIT
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0
rm -f "$log"

# The number of times the log has seen the main menu so far.
menus=0
atMainMenu() {
    menus=$((menus + 1))
    waitMode MainMenu "$1" "$menus"
}
# A screen's picture once its help boxes and any warning are put away.
snap() {
    dismissTutorials
    putAwayWarnings
    shot "$1"
}
# Back until the main menu; first-visit help boxes in the way are put away
# with clicks at the screen's left edge. The menu takes the next click only
# once it is ready, with its own boxes and warnings put away.
backToMenu() {
    for _ in $(seq 12); do
        keys BackSpace
        waitMode MainMenu 2 "$((menus + 1))" && break
        for _ in 1 2 3; do
            xdotool mousemove 2 "$((screenH / 2))" click 1
            sleep 0.3
        done
    done
    atMainMenu 5 || fail "Back did not reach the main menu from $1"
    waitReady MainMenu 10 "$menus" || fail "the main menu did not get ready after $1"
    dismissTutorials
    putAwayWarnings
    sleep 1
}
# A main-menu tile, its screen's picture, and back.
visit() {
    local tile="$1" state="$2" name="$3" n
    n=$(grep -cE -- "GameMode ready: ${state}"$'\r'"?\$" "$log")
    clickWidget mainMenu.txt "$tile"
    waitReady "$state" 10 $((n + 1)) || { echo "skip $name: $state did not open"; backToMenu "$name"; return; }
    sleep 2
    snap "$name"
    backToMenu "$name"
}

# From the main menu: Options -> Screen resolution, the borderless window
# stored; the game ends to apply it. Started again, it fills whatever screen
# it starts on (each window shape under its own Xvfb screen).
storeBorderlessWindow() {
    clickWidget mainMenu.txt Options
    waitMode Options 10 || fail "no options"
    xdotool mousemove 2 "$((${screenH:-720} / 2))"
    sleep 2.5
    keys Down
    sleep 0.5
    keys Return
    waitMode SetRez 10 || fail "no resolution screen"
    sleep 2
    clickWidget setRez.txt Rez0
    clickWidget setRez.txt BorderlessFullscreen
    keys Return
    waitFor "Display setting stored" 10 || fail "the borderless window was not stored"
    sleep 1
    stopGame
}
startGame
sleep 5
if [ "$kind" = seed ]; then
    # The profile, then the borderless window (the game ends to apply it).
    firstRunToMainMenu
    storeBorderlessWindow
    exit 0
fi
[ -n "$full" ] && shot title
keys Return
waitReady MainMenu 60 || fail "no main menu"
menus=1
dismissTutorials
putAwayWarnings
if [ -n "$language" ]; then
    # Options, Language (its first item), the language, and back.
    clickWidget mainMenu.txt Options
    waitReady Options 10 || fail "no options"
    keys Return
    waitReady Language 10 || fail "Language is not the options' first item"
    for _ in $(seq "${kind##*:}"); do keys Down; done
    keys Return
    waitFor "Language = $language" 10 || fail "$language was not chosen"
    waitReady Options 10 2 || fail "no options after choosing $language"
    backToMenu language
fi
sleep 1
xdotool mousemove 5 5
sleep 1
snap mainMenu

# Play: the game type, the music column focused, then the music browser.
clickWidget mainMenu.txt Play
waitReady GameType 10 || fail "no game type"
sleep 1.5
snap gameType
keys Right
sleep 0.5
shot gameTypeMusicFocused
backToMenu gameType

if [ -n "$full" ]; then
    visit MusicBrowser MusicTypeList musicTypeList
    visit ShipHangar Gallery gallery
fi
visit ShipDetails Hangar hangar
if [ -n "$full" ]; then
    visit Perks PerkMenu perkMenu
    visit DailyChallenge DailyChallenge-L dailyChallenge
    visit DailyTracks DailyTracks dailyTracks
    visit PartyMode PartyLogin partyLogin
fi
visit Leaderboard Leaderboard leaderboard
visit FriendCompare FriendCompare friendCompare
if [ -n "$full" ]; then
    visit Achievements Achievements achievements
    visit Twitter OptionsTwitter optionsTwitter
fi

# Options and the screens it opens; the menu keeps its item between visits.
n=$(grep -cE -- "GameMode ready: Options"$'\r'"?\$" "$log")
clickWidget mainMenu.txt Options
waitReady Options 10 $((n + 1)) || fail "no options"
# The pointer off the menu, which the keys drive from here.
xdotool mousemove 2 "$((screenH / 2))"
sleep 1.5
snap options
pos=0
option() {
    local k="$1" state="$2" name="$3"
    while [ "$pos" -lt "$k" ]; do keys Down; sleep 1; pos=$((pos + 1)); done
    keys Return
    if waitMode "$state" 10; then
        sleep 2.5
        snap "$name"
    else
        echo "skip $name: the keys did not reach it"
    fi
    # A long list: its end, reached with the keys.
    if [ -n "${4:-}" ]; then
        for _ in $(seq "$4"); do xdotool key Down; sleep 0.05; done
        sleep 1
        shot "${name}End"
    fi
    optionsSeen=$((optionsSeen + 1))
    for _ in $(seq 8); do
        keys BackSpace
        waitMode Options 2 "$optionsSeen" && break
        xdotool mousemove 2 "$((screenH / 2))" click 1
        sleep 0.3
    done
    waitMode Options 5 "$optionsSeen" || fail "Back did not return to the options from $name"
    sleep 2
}
optionsSeen=$(grep -cE -- "GameMode = Options"$'\r'"?\$" "$log")
if [ -n "$full" ]; then
    option 0 Language language
    option 1 SetRez setRez
    option 3 OptionsVolume optionsVolume
    option 4 OptionsNotifications optionsNotifications
    option 5 OpenMicSettings openMicSettings
    option 7 Credits credits 120
fi
# Back to the main menu, where the screens further in start from.
backToMenu options

# ---- The screens further in, reached as a player reaches them ----
# The music folder the roads use (two albums of 40-second tracks), made once
# beside the shared save folder and picked in the desktop's folder dialog.
makeMusic="$(dirname "$game")/tests/zx_make_music_folder"
if [ ! -d "$shared/My Music" ]; then
    "$makeMusic" "$shared/My Music" > /dev/null || fail "could not make the music folder"
fi
answerFolderDialog "$shared/My Music"

# How many times the game has asked for a state so far.
modeCount() { grep -cE -- "GameMode = ${1}"$'\r'"?\$" "$log"; }
# Waits for the next entry into a state, counted before the step that leads there.
waitNext() { waitMode "$1" "${3:-10}" $(($2 + 1)); }
# A row of a layout's menu: the menu's top-centre (Pos and Offset, as
# clickWidget places widgets) plus the row's centre, dy layout pixels below.
clickMenuRow() {
    local file="$data/textFiles/layouts/$1" name="$2" dy="$3" xy
    xy=$(awk -v m="$name" -v dy="$dy" -v sw="$screenW" -v sh="$screenH" '
        $1 == "Menu" && $2 == m { inside = 1; px = 0.5; py = 0.5; ox = 0; oy = 0; next }
        inside && $1 == "Pos" { px = $2; py = $3 }
        inside && $1 == "Offset" { ox = $2; oy = $3 }
        inside && $1 == "EndMenu" {
            k = sh / 720; if (sw / 1280 < k) k = sw / 1280
            printf "%d %d\n", px * sw + ox * k, py * sh + (oy + dy) * k; exit
        }
    ' "$file")
    [ -n "$xy" ] || fail "no menu $name in $1"
    echo "click $name row at $xy"
    xdotool mousemove $xy
    sleep 0.2
    xdotool click 1
    sleep 0.3
}
# The pointer out of the way, on the screen's left edge.
pointerAside() { xdotool mousemove 2 "$((screenH / 2))"; sleep 0.3; }

# The state asked for last.
lastMode() { grep -aoE "GameMode = [A-Za-z0-9-]+" "$log" | tail -1 | sed 's/GameMode = //'; }
# Back to the main menu from wherever the last step left the game.
home() {
    menus=$(modeCount MainMenu)
    if [ "$(lastMode)" = MainMenu ]; then sleep 1; else backToMenu "$1"; fi
}

# Music: finding music in the folder, the browser with its track list and
# albums, a track played, and the radio browser.
n=$(modeCount MusicTypeList)
clickWidget mainMenu.txt MusicBrowser
waitNext MusicTypeList "$n" || fail "no music type list"
sleep 1.5
dismissTutorials 13
n=$(modeCount FindMusic)
clickMenuRow MusicTypeList.txt Menu 259   # "Find music", below the spacer
if waitNext FindMusic "$n"; then
    sleep 2
    pointerAside
    shot findMusic
    clickMenuRow findMusic.txt Menu 27   # "Choose a folder"
    waitFor "Index: Finished" 90 || fail "the music walk did not finish"
    sleep 1.5
    pointerAside
    shot findMusicDone
    n=$(modeCount MusicTypeList)
    keys BackSpace
    waitNext MusicTypeList "$n" || fail "no way back from finding music"
    sleep 1.5
else
    echo "skip findMusic: the row did not open it"
fi
n=$(modeCount MusicBrowser)
clickMenuRow MusicTypeList.txt Menu 27   # "Your music"
if waitNext MusicBrowser "$n"; then
    sleep 2
    dismissTutorials 3
    pointerAside
    shot musicBrowser
    clickWidget MusicBrowser.txt Albums
    sleep 1.5
    pointerAside
    shot musicBrowserAlbums
    clickMenuRow MusicBrowser.txt AlbumListMenu 27   # the first album
    sleep 1.5
    pointerAside
    shot musicBrowserAlbumTracks
    clickMenuRow MusicBrowser.txt AlbumListMenu 27   # its first track
    waitFor "Playing track: " 10 || echo "note: no track played from the browser"
    sleep 1.5
    shot musicBrowserPlaying
    n=$(modeCount MusicTypeList)
    for _ in 1 2 3; do
        keys BackSpace
        waitNext MusicTypeList "$n" 2 && break
    done
    sleep 1.5
else
    echo "skip musicBrowser: the row did not open it"
fi
if [ -n "$full" ]; then
    n=$(modeCount MusicRadioBrowser)
    clickMenuRow MusicTypeList.txt Menu 91   # "Internet radio"
    if waitNext MusicRadioBrowser "$n"; then
        sleep 3
        dismissTutorials 3
        pointerAside
        shot radioBrowser
    else
        echo "skip radioBrowser: the row did not open it"
    fi
fi
home music

# Friends: find player.
n=$(modeCount FriendCompare)
[ -n "$full" ] && clickWidget mainMenu.txt FriendCompare
if [ -n "$full" ] && waitNext FriendCompare "$n"; then   # (the language passes skip it)
    sleep 2
    dismissTutorials 3
    n=$(modeCount FindPlayer)
    keys Return
    if waitNext FindPlayer "$n"; then
        sleep 2
        pointerAside
        shot findPlayer
        keys Escape   # the ID box has the keys: Escape leaves it
        sleep 1
    else
        echo "skip findPlayer: Return on the friends did not open it"
    fi
fi
home friends

# One short track chosen as a player chooses it: the game type, your music,
# the first album's first track (40 seconds), the game settings, the
# countdown, the HUD, a pause, the game over and what follows.
n=$(modeCount GameType)
clickWidget mainMenu.txt Play
waitNext GameType "$n" || fail "no game type"
sleep 2
dismissTutorials 3
pointerAside
n=$(modeCount MusicBrowser)
keys Return   # "Your music", chosen at entry
if waitNext MusicBrowser "$n"; then
    sleep 2
    clickWidget MusicBrowser.txt Albums
    sleep 1.5
    clickMenuRow MusicBrowser.txt AlbumListMenu 27   # the first album
    sleep 1.5
    clickMenuRow MusicBrowser.txt AlbumListMenu 27   # its first track
    sleep 1.5
    pointerAside
    shot musicBrowserForPlay
fi
n=$(modeCount GameSettings)
keys x   # "Use now playing"
if waitNext GameSettings "$n"; then
    sleep 2
    dismissTutorials 3
    pointerAside
    shot gameSettings
    keys Return
    waitMode 321Go 10 || fail "no countdown"
    sleep 2.5   # the music bar gone, the digits in
    shot countdown
    waitMode Playing 30 || fail "play did not start"
    xdotool mousemove "$((screenW / 2))" "$((screenH * 3 / 10))" mousedown 1
    sleep 5
    shot hud
    keys Escape
    sleep 1.2
    shot pause
    keys Escape
    sleep 1
    waitMode GameOver 90 || { xdotool mouseup 1; fail "no game over"; }
    xdotool mouseup 1
    sleep 3.5
    dismissTutorials 3
    pointerAside
    shot gameOver
    # On with OK (Return) through whatever the track earned, each screen
    # once, until the main menu.
    seen=" GameOver "
    for _ in $(seq 20); do
        keys Return
        sleep 2.5
        state=$(lastMode)
        [ "$state" = MainMenu ] && break
        case "$seen" in
            *" $state "*) ;;
            *)
                seen="$seen$state "
                sleep 3
                dismissTutorials 1
                pointerAside
                shot "after$state"
                ;;
        esac
        # A perk to pick: the focus starts on the first one Return takes.
    done
else
    echo "skip the track: the game settings did not open"
fi
home afterTrack
if [ -z "$full" ]; then
    stopGame
    echo "shots in $language in $out"
    exit 0
fi

# A ship mission started from the hangar (reach a ship rank): its card over
# the countdown and the HUD, then the pause's "Quit track" and its question.
n=$(modeCount 321Go)
p=$(modeCount Playing)
h=$(modeCount Hangar)
clickWidget mainMenu.txt ShipDetails
if waitNext Hangar "$h"; then
    sleep 2
    dismissTutorials 3
    clickWidget hangar.txt Mission2
    if waitNext 321Go "$n"; then
        sleep 1.5
        shot countdownMission
        waitNext Playing "$p" 30 || fail "the mission did not start"
        sleep 4
        shot hudMission
        keys Escape
        sleep 1.2
        pointerAside
        clickWidget pause.txt QuitTrack
        sleep 1.5
        pointerAside
        shot confirmQuit
        clickMenuRow confirm.txt Menu 27   # "Yes"
        sleep 3
        dismissTutorials 2
        pointerAside
        shot "afterQuit$(lastMode)"
    else
        echo "skip the mission: it did not start"
    fi
fi
home mission

# Ships: the hangar's first mission (finish a track) opens its track
# browser; the gallery's "New ship" opens the editor.
n=$(modeCount Hangar)
clickWidget mainMenu.txt ShipDetails
if waitNext Hangar "$n"; then
    sleep 2
    dismissTutorials 3
    n=$(modeCount MusicBrowserShipMissions)
    clickWidget hangar.txt Mission1
    if waitNext MusicBrowserShipMissions "$n"; then
        sleep 2.5
        dismissTutorials 3
        pointerAside
        shot shipMissionBrowser
    else
        echo "skip shipMissionBrowser: the mission did not open it"
    fi
    home shipMissions
    n=$(modeCount EditModules)
    h=$(modeCount Hangar)
    clickWidget mainMenu.txt ShipDetails
    waitNext Hangar "$h" || fail "no hangar"
    sleep 2
    dismissTutorials 3
    keys x
    if waitNext EditModules "$n"; then
        sleep 2.5
        dismissTutorials 3
        pointerAside
        shot editModules
    else
        echo "skip editModules: X on the hangar did not open it"
    fi
fi
home hangar
n=$(modeCount ShipEditor)
h=$(modeCount Gallery)
clickWidget mainMenu.txt ShipHangar
if waitNext Gallery "$h"; then
    sleep 2
    dismissTutorials 3
    keys 3
    if waitNext ShipEditor "$n"; then
        sleep 2.5
        for _ in 1 2 3; do xdotool mousemove "$((screenW / 2))" "$((screenH * 9 / 10))" click 1; sleep 0.3; done
        pointerAside
        shot shipEditor
    else
        echo "skip shipEditor: New ship did not open it"
    fi
fi
home shipEditor

# Keyboard set-up, from the options (Escape is its way out).
n=$(modeCount Config)
h=$(modeCount Options)
clickWidget mainMenu.txt Options
waitNext Options "$h" || fail "no options"
pointerAside
sleep 2
keys Down Down Return
if waitNext Config "$n"; then
    sleep 2.5
    shot config
    keys Escape
    sleep 1
fi
home config

stopGame
echo "shots of $shape in $out"
exit 0
