# Shared by the scripts that drive the real game under Xvfb. The caller sets
# log (the game's debug.txt), work (a scratch folder), out (the screenshot
# folder) and here (this folder) before sourcing it.

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
