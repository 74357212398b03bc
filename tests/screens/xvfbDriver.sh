# Shared by the scripts that drive the real game under Xvfb. A road sources
# this file and calls openRoad with its name and its arguments.
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
            check_loading_shot) checkLoading="$t" ;;
        esac
    done
    # A scratch folder with the save folder (work, log), the clean-up on exit.
    mkdir -p "$out"
    work=$(mktemp -d "/tmp/zx_${name}_XXXXXX")
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
# The data folder as links, with Twitter's hosts on a closed local port: a
# road that links Twitter sees it fail without leaving this machine.
twitterUnreachable() {
    cp -as "$(cd "$data" && pwd)" "$work/data" || fail "could not link the data folder"
    rm "$work/data/textFiles/twitterHosts.txt"
    printf 'RestHost "127.0.0.1:9"\nUploadHost "127.0.0.1:9"\nScheme "http"\nEndFile\n' > "$work/data/textFiles/twitterHosts.txt"
    data="$work/data"
}
driverCleanUp() {
    [ -n "$gpid" ] && kill "$gpid" 2>/dev/null && wait "$gpid" 2>/dev/null
    [ -n "$spid" ] && kill "$spid" 2>/dev/null && wait "$spid" 2>/dev/null
    rm -rf "$work"
}
# A busy Xvfb can drop a connection made just as another one closes: an X
# tool that could not open the display sent nothing and is run again.
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
# Starts the game with its data, the save folder, the local service if one
# runs and the given switches; waits for the title and gives it the keyboard.
startGame() {
    local service="$work/webService.txt"
    [ -s "$service" ] || service=""
    rm -f "$log"   # the waits read this run's log, not the last run's
    PATH="$work/bin:$PATH" ZORBEX_SAVE_DIR="$work/save" ZORBEX_DATA="$data" \
        ZORBEX_WEB_SERVICE="$service" "$game" -NoGoogle -Linux "$@" &
    gpid=$!
    waitReady PressStart 60 || fail "no title screen"
    wid=$(xdotool search --sync --name Zorbex | head -1)
    [ -n "$wid" ] || fail "no window"
    xdotool windowfocus --sync "$wid"
}
# The local web service (each answer delayed by the given milliseconds, then
# its own switches such as --challenge), the game, and a first run to the main
# menu: Return, English, the silent sign-in, the help boxes put away.
toMainMenu() {
    "$tool" "$work/webService.txt" ${1:+"$1"} "${@:2}" > "$work/service.log" 2>&1 &
    spid=$!
    for _ in $(seq 300); do [ -s "$work/webService.txt" ] && break; sleep 0.1; done
    [ -s "$work/webService.txt" ] || fail "the local service did not start"
    startGame
    firstRunToMainMenu
}
# A first run: English chosen on the language screen, then the main menu.
firstRunToMainMenu() {
    keys Return
    waitReady Language 60 || fail "no language screen"
    keys Return
    waitFor "Language = English" 10 || fail "English was not chosen"
    waitReady MainMenu 60 || fail "no main menu"
    dismissTutorials
}
# The game started again over the same save folder, to the main menu.
restartToMainMenu() {
    stopGame
    startGame
    keys Return
    waitReady MainMenu 60 || fail "no main menu after the restart"
    dismissTutorials
}
# Ends the game as the desktop would (SIGTERM) and checks its exit code.
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
# Waits up to the given seconds until count lines of the log match grep's pattern.
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
# How many lines of the log hold text; waitForNext waits for one more.
logCount() { grep -cF -- "$1" "$log" 2>/dev/null; }
waitForNext() { waitFor "$1" "$3" $(($2 + 1)); }
# Waits until the game has asked for a state count times (this run's log).
waitMode() { waitLog "$2" "${3:-1}" -E -- "GameMode = ${1}"$'\r'"?\$"; }
# Waits until a state has come in and taken input count times: its screen's
# opening has run, so keys and clicks sent now reach it. Wait for this, never
# for a guessed time, before driving a screen just asked for.
waitReady() { waitLog "$2" "${3:-1}" -E -- "GameMode ready: ${1}"$'\r'"?\$"; }
# Screenshots are for people to look at; half a second lets the last key's
# highlight and the screen's effects come to rest.
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
# 200 unless given); call it once the screen is ready.
dismissTutorials() {
    local x=200 y=200
    [ $# -ge 2 ] && x="$1" y="$2"
    putAwayHelpBoxes xdotool mousemove "$x" "$y" click 1
}
# The same with a key (such as Return or BackSpace) instead of the click.
dismissTutorialsByKey() { putAwayHelpBoxes xdotool key "$1"; }
# Runs the given press until every box logged with the first line is logged
# with the second. A box takes no press in its first quarter second, so each
# press waits that long; a press not taken is sent again only after three
# seconds, so that a busy game does not get two (the second would land below).
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
# Puts away with Return every warning shown: a message arriving while a
# screen is driven (a new daily challenge) takes the presses meant for it.
putAwayWarnings() {
    pressUntilPutAway "Warning shown: " "Warning put away" 10 xdotool key Return || fail "a warning was not put away"
}
# The main menu's tiles by keys (moveKeys: up, down, left, right): up and
# left end on the top-left tile, and a tile is a path of moves from there.
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
# How many times a state has come in and taken input.
readyCount() { grep -cE -- "GameMode ready: ${1}"$'\r'"?\$" "$log" 2>/dev/null; }
# Each row given on descriptor 3: the path, the state it leads to, the
# screenshot's name.
tileRoads() {
    local row mode n
    while read -ra row <&3; do
        mode="${row[-2]}"
        n=$(readyCount "$mode")
        toTile "${row[*]:0:${#row[@]}-2}"
        waitReady "$mode" 60 $((n + 1)) || fail "the keys did not lead to $mode"
        shot "keys_${row[-1]}"
        tileBack "$mode"
    done
}
