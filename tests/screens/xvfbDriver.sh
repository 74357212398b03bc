# Shared by the scripts that drive the real game under Xvfb. The caller sets
# log (the game's debug.txt), work (a scratch folder), out (the screenshot
# folder), here (this folder) and data (the data folder, for clickWidget)
# before sourcing it.

fail() {
    echo "FAIL: $*"
    [ -f "$log" ] && cat "$log"
    exit 1
}
# Waits until the log holds a line with text, count times (default once).
waitFor() {
    local text="$1" seconds="$2" count="${3:-1}" n=0
    while [ "$n" -lt $((seconds * 10)) ]; do
        local found
        found=$(grep -cF -- "$text" "$log" 2>/dev/null)
        [ "${found:-0}" -ge "$count" ] && return 0
        sleep 0.1
        n=$((n + 1))
    done
    return 1
}
# Waits until the game has asked for a state count times (this run's log).
waitMode() {
    local mode="$1" seconds="$2" count="${3:-1}" n=0
    while [ "$n" -lt $((seconds * 10)) ]; do
        local found
        found=$(grep -cE -- "GameMode = ${mode}\r?\$" "$log" 2>/dev/null)
        [ "${found:-0}" -ge "$count" ] && return 0
        sleep 0.1
        n=$((n + 1))
    done
    return 1
}
shot() {
    xwd -root -silent > "$work/shot.xwd" && /usr/bin/python3 "$here/xwdToPng.py" "$work/shot.xwd" "$out/$1.png" ||
        fail "screenshot $1"
}
keys() {
    for k in "$@"; do
        xdotool key "$k"
        sleep 0.15
    done
}
# A click at a point of the 1280 x 720 screen.
clickAt() {
    xdotool mousemove "$1" "$2"
    sleep 0.2
    xdotool click 1
    sleep 0.3
}
# A click on the centre of a layout's widget: Pos as a fraction of the
# screen plus Offset in layout pixels.
clickWidget() {
    local file="$data/textFiles/layouts/$1" name="$2"
    local xy
    xy=$(awk -v w="$name" '
        $1 == "Widget" && $2 == w { inside = 1; px = 0.5; py = 0.5; ox = 0; oy = 0; next }
        inside && $1 == "Pos" { px = $2; py = $3 }
        inside && $1 == "Offset" && !gadget { ox = $2; oy = $3 }
        inside && ($1 == "Text" || $1 == "Sprite" || $1 == "Progress") { gadget = 1 }
        inside && ($1 == "EndText" || $1 == "EndSprite" || $1 == "EndProgress") { gadget = 0 }
        inside && $1 == "EndWidget" { printf "%d %d\n", px * 1280 + ox, py * 720 + oy; exit }
    ' "$file")
    [ -n "$xy" ] || fail "no widget $name in $1"
    clickAt $xy
}
# The tutorials of a first visit: a click on an empty spot puts each away.
dismissTutorials() {
    for _ in $(seq "$1"); do
        xdotool mousemove 200 200 click 1
        sleep 0.45
    done
}
