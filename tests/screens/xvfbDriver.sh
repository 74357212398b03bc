# Shared by the scripts that drive the real game under Xvfb. A road sources
# this file and calls openRoad with its name and its arguments; a caller with
# its own folders (make shots) sets out, work, log and data itself.
driverDir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

# A road's arguments, as xvfb.cmake gives them: the game, the tools it needs
# (each known by its name), the data folder and the screenshot folder.
openRoad() {
    local name="$1" t
    shift
    game="$1" data="${*: -2:1}" out="${*: -1}"
    for t in "${@:2:$#-3}"; do
        case "${t##*/}" in
            zx_local_service) tool="$t" ;;
            zx_make_music_folder) makeMusic="$t" ;;
            zx_seed_progress_save) seedSave="$t" ;;
        esac
    done
    driverSetUp "$name"
}
# A scratch folder with the save folder (work, log), the screenshot folder,
# the clean-up on exit and the environment of the game.
driverSetUp() {
    mkdir -p "$out"
    work=$(mktemp -d "/tmp/zx_$1_XXXXXX")
    mkdir -p "$work/save" "$work/bin"
    log="$work/save/debug.txt"
    gpid=""
    spid=""
    trap driverCleanUp EXIT
    unset SDL_VIDEODRIVER
    export SDL_AUDIODRIVER=dummy
    # The GL driver and the desktop bus keep a little memory to the end.
    export ASAN_OPTIONS=detect_leaks=0
}
driverCleanUp() {
    [ -n "$gpid" ] && kill "$gpid" 2>/dev/null && wait "$gpid" 2>/dev/null
    [ -n "$spid" ] && kill "$spid" 2>/dev/null && wait "$spid" 2>/dev/null
    rm -rf "$work"
}
# A busy Xvfb can drop a connection made just as another one closes. An X
# tool that could not open the display sent nothing, so it is simply run
# again; any other failure is the caller's.
xClient() {
    local rc=1 err="${work:-/tmp}/xclient.err"
    for _ in 1 2 3 4 5; do
        "$@" 2> "$err" && return 0
        rc=$?
        grep -q "open display" "$err" || break
        sleep 0.2
    done
    cat "$err" >&2
    return $rc
}
xdotool() { xClient command xdotool "$@"; }
# The local web service ($tool), each answer delayed by the given
# milliseconds, then its own switches (such as --challenge); the game finds it
# through $work/webService.txt.
startService() {
    "$tool" "$work/webService.txt" ${1:+"$1"} "${@:2}" > "$work/service.log" 2>&1 &
    spid=$!
    for _ in $(seq 300); do [ -s "$work/webService.txt" ] && break; sleep 0.1; done
    [ -s "$work/webService.txt" ] || fail "the local service did not start"
}
# The desktop's folder or file dialog (zenity, found first on the game's
# PATH) answers with the given path; each question is kept in $work/dialog.log.
answerFolderDialog() {
    cat > "$work/bin/zenity" <<EOT
#!/bin/sh
echo "zenity \$*" >> "$work/dialog.log"
printf '%s\n' "$1"
EOT
    chmod +x "$work/bin/zenity"
}
# Starts the game ($game) with its data ($data), the save folder and the
# local service if one runs, plus the given switches; waits for the title and
# gives the window the keyboard. Variables set before the call reach the game
# too.
startGame() {
    local service="$work/webService.txt"
    [ -s "$service" ] || service=""
    rm -f "$log"   # the waits read this run's log, not the last run's
    PATH="$work/bin:$PATH" ZORBEX_SAVE_DIR="$work/save" ZORBEX_DATA="$data" \
        ZORBEX_WEB_SERVICE="$service" "$game" -NoGoogle -Linux "$@" &
    gpid=$!
    waitReady PressStart 60 || fail "no title screen"
    focusGame
}
# From the title of a first run: Return, then English on the language
# screen (a screenshot of it under the given name, if any).
chooseEnglish() {
    keys Return
    waitReady Language 60 || fail "no language screen"
    [ -n "${1:-}" ] && shot "$1"
    keys Return
    waitFor "Language = English" 10 || fail "English was not chosen"
}
# A first run from the title to the main menu through the silent sign-in,
# with the main menu's help boxes put away.
firstRunToMainMenu() {
    chooseEnglish
    waitReady MainMenu 60 || fail "no main menu"
    dismissTutorials
}
# The service (with the given delay and switches), the game, and a first run
# to the main menu.
toMainMenu() {
    startService "$@"
    startGame
    firstRunToMainMenu
}
# The game started again over the same save folder, to the main menu.
restartToMainMenu() {
    stopGame
    startGame
    keys Return
    waitReady MainMenu 60 || fail "no main menu after the restart"
    dismissTutorials
}
# The music folder ($makeMusic: two albums of 40-second tracks) that the
# desktop's folder dialog answers with.
musicFolder() {
    "$makeMusic" "$work/My Music" > /dev/null || fail "could not make the music folder"
    answerFolderDialog "$work/My Music"
}
# A save whose profile has the given experience ($seedSave).
seedProgress() {
    SDL_VIDEODRIVER=dummy ZORBEX_DATA="$data" "$seedSave" "$work/save" "$1" > "$work/seed.log" 2>&1 ||
        { cat "$work/seed.log"; fail "could not seed the save"; }
}
# A text box k steps down from the top: focus it, type, finish the entry.
field() {
    local opened finished
    opened=$(logCount "Text entry: open")
    finished=$(logCount "Text entry: done")
    for _ in $(seq "$1"); do keys Down; done
    keys Return
    waitForNext "Text entry: open" "$opened" 10 || fail "the text box $1 down did not open"
    xdotool type --delay 50 "$2"
    keys Return
    waitForNext "Text entry: done" "$finished" 10 || fail "the text box $1 down was not finished"
}
# While the silent sign-in still runs (a slow service): Back, then a new
# account made by hand (name, e-mail) on the sign-in screen. With a third
# argument, screenshots of the choice and the filled form under that prefix.
makeAccount() {
    waitFor "Attempting to auto sign in with Steam" 30 || fail "no sign-in screen"
    waitReady SignIn 30 || fail "the sign-in screen takes no keys"
    keys BackSpace
    waitFor "Sign in UI - EsignInMode_Start" 10 3 || fail "Back did not lead to the choice"
    [ -n "${3:-}" ] && shot "${3}Choice"
    keys Down Down Return
    waitFor "Sign in UI - EsignInMode_CreateAccount" 10 || fail "no account form"
    field 1 "$1"
    field 2 "$2"
    field 3 secret12
    field 4 secret12
    [ -n "${3:-}" ] && shot "$3"
    keys Down Down Down Down Down Return
    waitFor "Create Account: Success" 30 || fail "the account was not made"
    waitReady MainMenu 60 || fail "no main menu"
}
# Once the title is up: the game's window gets the keyboard.
focusGame() {
    wid=$(xdotool search --sync --name Zorbex | head -1)
    [ -n "$wid" ] || fail "no window"
    xdotool windowfocus --sync "$wid"
}
# Ends the game as the desktop would and checks its exit code.
stopGame() {
    kill -TERM "$gpid"
    wait "$gpid"
    local rc=$?
    gpid=""
    [ "$rc" -eq 0 ] || fail "exit code $rc"
}

fail() {
    echo "FAIL: $*"
    [ -f "$log" ] && cat "$log"
    exit 1
}
# Waits up to the given seconds until count lines of the log match grep's
# pattern (given with its options).
waitLog() {
    local seconds="$1" count="$2" n=0
    shift 2
    while [ "$n" -lt $((seconds * 10)) ]; do
        local found
        found=$(grep -c "$@" "$log" 2>/dev/null)
        [ "${found:-0}" -ge "$count" ] && return 0
        sleep 0.1
        n=$((n + 1))
    done
    return 1
}
# Waits until the log holds a line with text, count times (default once).
waitFor() { waitLog "$2" "${3:-1}" -F -- "$1"; }
# How many lines of the log hold text (to wait for the next one).
logCount() { grep -cF -- "$1" "$log" 2>/dev/null; }
# Waits until the log holds one more line with text than the count
# logCount gave before.
waitForNext() { waitFor "$1" "$3" $(($2 + 1)); }
# Waits until the game has asked for a state count times (this run's log).
waitMode() { waitLog "$2" "${3:-1}" -E -- "GameMode = ${1}"$'\r'"?\$"; }
# Waits until a state has come in and taken input count times: its screen's
# opening has run, so keys and clicks sent now reach it. Wait for this, never
# for a guessed time, before driving a screen just asked for.
waitReady() { waitLog "$2" "${3:-1}" -E -- "GameMode ready: ${1}"$'\r'"?\$"; }
# Nothing checks the screenshots; they are for people to look at. Half a
# second's settle lets the last key's highlight and the screen's effects come
# to rest first (the one fixed wait the roads keep besides keys' pacing).
shot() {
    sleep 0.5
    xClient xwd -root -silent > "$work/shot.xwd" && /usr/bin/python3 "$driverDir/xwdToPng.py" "$work/shot.xwd" "$out/$1.png" ||
        fail "screenshot $1"
}
keys() {
    local k   # a caller's own k stays as it was
    for k in "$@"; do
        xdotool key "$k"
        sleep 0.15
    done
}
# The centre of a layout's widget on the screen ($screenW x $screenH, 1280 x
# 720 unless set): Pos as a fraction of the screen plus Offset in layout
# pixels (1/720 of the screen's height, or 1/1280 of its width on a screen
# narrower than 16:9).
clickWidget() {
    local file="$data/textFiles/layouts/$1" name="$2"
    local xy
    xy=$(awk -v w="$name" -v sw="${screenW:-1280}" -v sh="${screenH:-720}" '
        $1 == "Widget" && $2 == w { inside = 1; px = 0.5; py = 0.5; ox = 0; oy = 0; next }
        inside && $1 == "Pos" { px = $2; py = $3 }
        inside && $1 == "Offset" && !gadget { ox = $2; oy = $3 }
        inside && ($1 == "Text" || $1 == "Sprite" || $1 == "Progress") { gadget = 1 }
        inside && ($1 == "EndText" || $1 == "EndSprite" || $1 == "EndProgress") { gadget = 0 }
        inside && $1 == "EndWidget" {
            k = sh / 720; if (sw / 1280 < k) k = sw / 1280
            printf "%d %d\n", px * sw + ox * k, py * sh + oy * k; exit
        }
    ' "$file")
    [ -n "$xy" ] || fail "no widget $name in $1"
    echo "click $name at $xy"
    clickAt $xy
}
# Like keys, paced: the pointer's move reaches the game before the click.
clickAt() {
    xdotool mousemove "$1" "$2"
    sleep 0.2
    xdotool click 1
    sleep 0.3
}
# The help boxes up now, each put away with a click on an empty spot (200,
# 200 unless given; a count given by older callers is not needed): a box
# logs when it is shown and when it is put away. Call it once the screen is
# ready (its opening shows its boxes).
dismissTutorials() {
    local x=200 y=200
    [ $# -ge 2 ] && x="$1" y="$2"
    putAwayHelpBoxes xdotool mousemove "$x" "$y" click 1
}
# The same with a key (such as Return or BackSpace) instead of the click.
dismissTutorialsByKey() { putAwayHelpBoxes xdotool key "$1"; }
# Runs the given press until every box logged with the first line is logged
# with the second (put away), at most the given number of presses. A box takes
# no press in its first quarter second (the press that opened the screen), so
# each press waits that long first; a press the box still did not take is sent
# again only after three seconds, so that a busy game does not get two (the
# second would land on the screen below).
pressUntilPutAway() {
    local shownLine=$1 goneLine=$2 tries=$3 gone
    shift 3
    for _ in $(seq "$tries"); do
        gone=$(logCount "$goneLine")
        [ "$(logCount "$shownLine")" -le "$gone" ] && return 0
        sleep 0.3
        "$@"
        for _ in $(seq 30); do
            sleep 0.1
            [ "$(logCount "$goneLine")" -gt "$gone" ] && break
        done
    done
    return 1
}
putAwayHelpBoxes() {
    pressUntilPutAway "Help box shown: " "Help box put away: " 40 "$@" || fail "a help box was not put away"
}
# Puts away, with Return (its OK), every warning shown and not yet put away:
# a message that arrives while a screen is driven (such as a new daily
# challenge on the main menu) takes the presses meant for the screen.
putAwayWarnings() {
    pressUntilPutAway "Warning shown: " "Warning put away" 10 xdotool key Return || fail "a warning was not put away"
}
# From the main menu (the music list's lists-th visit): the music folder (the
# folder dialog's answer) found by the music indexing, every track of it, and
# back to the music list.
findMusic() {
    clickWidget mainMenu.txt MusicBrowser
    waitReady MusicTypeList 60 "$1" || fail "no music type list"
    dismissTutorials
    clickAt 640 439   # "Find music", below the spacer
    waitReady FindMusic 60 || fail "no music indexing screen"
    clickAt 640 427   # "Choose a folder"
    waitFor "Index: Finished" 90 || fail "the walk did not finish"
    grep -qF "zenity --file-selection --directory" "$work/dialog.log" || fail "the folder dialog was not asked"
    [ "$(grep -cF "Found Track: $work/My Music/" "$log")" -eq 4 ] || fail "not every track was found"
    shot findMusic
    keys BackSpace
    waitReady MusicTypeList 60 $(($1 + 1)) || fail "no way back to the music type list"
}
# findMusic, then your music by album: the first album's first track
# ("Sunrise") played, and back to the main menu. The arguments: how many
# times the music list and the main menu will have been entered on arriving
# there.
findAndPlayFirstTrack() {
    local lists="$1" menus="$2" listed
    findMusic "$lists"
    clickAt 640 207   # "Your music"
    waitReady MusicBrowser 60 || fail "no music browser"
    listed=$(logCount "Music browser: ")
    clickWidget MusicBrowser.txt Albums
    waitForNext "Music browser: " "$listed" 10 || fail "no albums listed"
    listed=$(logCount "Music browser: ")
    clickAt 640 250
    waitForNext "Music browser: " "$listed" 10 || fail "the first album did not open"
    clickAt 640 250
    waitFor "Playing track: Sunrise" 10 || fail "the album's first track did not play"
    shot musicBrowserTrack
    listed=$(logCount "Music browser: ")
    keys BackSpace
    waitForNext "Music browser: " "$listed" 10 || fail "Back did not close the album"
    keys BackSpace
    waitReady MusicTypeList 60 $((lists + 2)) || fail "no way back from the browser"
    keys BackSpace
    waitReady MainMenu 60 "$menus" || fail "no way back to the main menu"
    dismissTutorials
}
# From the main menu: Play, the track playing now, and the game settings' OK
# (their n-th visit, the first unless given).
playNowPlaying() {
    clickWidget mainMenu.txt Play
    waitReady GameType 60 "${1:-1}" || fail "no game type screen"
    dismissTutorials
    clickAt 665 336   # "Now Playing"
    clickAt 1186 678  # OK on the button bar
    waitReady GameSettings 60 "${1:-1}" || fail "no game settings screen"
    dismissTutorials
    clickAt 1186 678
}
# The main menu's tiles by keys. moveKeys are the keys for up, down, left and
# right (the arrows unless a road moved them); from wherever the focus is, up
# and left end on the top-left small tile, and each tile is a path of moves
# (Up, Down, Left, Right) from there. menus counts the main menu's visits.
moveKeys="Up Down Left Right"
move() {
    local m=($moveKeys) k
    for k in "$@"; do
        case "$k" in
            Up) keys "${m[0]}" ;; Down) keys "${m[1]}" ;; Left) keys "${m[2]}" ;; Right) keys "${m[3]}" ;;
        esac
    done
}
toTile() {
    move Up Up Up Up Up Left Left Left $1
    keys Return
}
# Back (Backspace) until the main menu: each press puts a help box away or goes back.
tileBack() {
    menus=$((menus + 1))
    dismissTutorialsByKey BackSpace
    keys BackSpace
    waitReady MainMenu 60 "$menus" || fail "no way back to the main menu from $1"
    dismissTutorialsByKey Return
}
# Each row given on descriptor 3: the path, the state it leads to, the
# screenshot's name.
tileRoads() {
    local row mode
    while read -ra row <&3; do
        mode="${row[-2]}"
        toTile "${row[*]:0:${#row[@]}-2}"
        waitReady "$mode" 60 || fail "the keys did not lead to $mode"
        shot "keys_${row[-1]}"
        tileBack "$mode"
    done
}
# Hull pictures for the ship editor, each given as path, width and height: a
# pointed hull, an arrow head with a lighter spine, clear around it.
writeHullPictures() {
    /usr/bin/python3 - "$@" <<'PNG' || fail "could not write the pictures"
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
}
# The ship editor's rows of the first group: 34 high, 4 apart, from y 158;
# the centre of row k (the values at x 495).
editorRow() { echo $((175 + 38 * $1)); }
# From the main menu: the gallery, then a new ship in the editor, its help
# boxes put away with clicks on an empty spot (the editor's rows start high).
newShipInEditor() {
    clickWidget mainMenu.txt ShipHangar
    waitReady Gallery 60 || fail "no gallery"
    dismissTutorials
    keys 3
    waitReady ShipEditor 60 || fail "New ship did not open the editor"
    dismissTutorials 640 650
}
