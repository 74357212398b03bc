#!/bin/bash
# `make shots`: every screen a player reaches from the main menu, at each
# window shape players' desktops give, one PNG per screen and shape, and an
# index page to look at them all in one go. Not part of `make test`.
# Usage: shots.sh <zorbex> <zx_local_service> <data folder> <out folder>
set -u
game="$1"
tool="$2"
data="$3"
out="$4"
here="$(cd "$(dirname "$0")" && pwd)"
shapes="1280x720 1280x800 1024x768"
languageShape=1280x720

shared=$(mktemp -d /tmp/zx_shots_XXXXXX)
"$tool" "$shared/webService.txt" 0 --showcase > "$shared/service.log" 2>&1 &
spid=$!
trap 'kill "$spid" 2>/dev/null; wait "$spid" 2>/dev/null; rm -rf "$shared"' EXIT
for _ in $(seq 50); do [ -s "$shared/webService.txt" ] && break; sleep 0.1; done
[ -s "$shared/webService.txt" ] || { echo "FAIL: the local service did not start"; exit 1; }

rm -rf "$out"
mkdir -p "$out"
status=0
# The save folder every pass starts from, made once: a first run's profile in
# English and the borderless window, so that each pass fills its screen.
if ! xvfb-run -a -s "-screen 0 1280x720x24" \
    bash "$here/shotsUnderXvfb.sh" "$game" "$data" "$shared" 1280x720 "$shared/seedShots" seed; then
    echo "FAIL: the first run did not make a profile (see above)"
    exit 1
fi
mv "$shared/save" "$shared/seed"
# One pass: a copy of that save folder, the screens of one shape (and language).
pass() {
    local shape="$1" folder="$2" language="${3:-}"
    rm -rf "$shared/save"
    cp -a "$shared/seed" "$shared/save"
    if ! xvfb-run -a -s "-screen 0 ${shape}x24" \
        bash "$here/shotsUnderXvfb.sh" "$game" "$data" "$shared" "$shape" "$out/$folder" $language; then
        echo "FAIL: the shots of $folder stopped early (see above)"
        status=1
    fi
}
for shape in $shapes; do pass "$shape" "$shape"; done
# The main screens again in languages whose texts run longest or draw other
# scripts: name, its steps down the language list from English, folder.
languages="German:1:de Russian:5:ru Japanese:6:ja"
for language in $languages; do pass "$languageShape" "${language##*:}" "${language%:*}"; done

# The index: one row per screen, one column per shape.
{
    echo '<!DOCTYPE html><html><head><meta charset="utf-8"><title>Zorbex screens</title>'
    echo '<style>body{background:#111;color:#ddd;font-family:sans-serif}td{vertical-align:top;padding:4px}'
    echo 'img{width:400px;border:1px solid #444}</style></head><body><h1>Zorbex screens</h1><table><tr><th>screen</th>'
    for shape in $shapes; do echo "<th>$shape</th>"; done
    echo '</tr>'
    for name in $(cd "$out" && ls $shapes 2>/dev/null | grep '\.png$' | sed 's|.*/||; s|\.png$||' | awk '!seen[$0]++'); do
        echo "<tr><td>$name</td>"
        for shape in $shapes; do
            if [ -f "$out/$shape/$name.png" ]; then
                echo "<td><a href=\"$shape/$name.png\"><img src=\"$shape/$name.png\" alt=\"$name $shape\"></a></td>"
            else
                echo '<td>(not reached)</td>'
            fi
        done
        echo '</tr>'
    done
    echo "</table><h2>Languages at $languageShape</h2><table><tr><th>screen</th>"
    for language in $languages; do echo "<th>${language%%:*}</th>"; done
    echo '</tr>'
    folders=$(for language in $languages; do echo "${language##*:}"; done)
    for name in $(cd "$out" && ls $folders 2>/dev/null | grep '\.png$' | sed 's|\.png$||' | awk '!seen[$0]++'); do
        echo "<tr><td>$name</td>"
        for folder in $folders; do
            if [ -f "$out/$folder/$name.png" ]; then
                echo "<td><a href=\"$folder/$name.png\"><img src=\"$folder/$name.png\" alt=\"$name $folder\"></a></td>"
            else
                echo '<td>(not reached)</td>'
            fi
        done
        echo '</tr>'
    done
    echo '</table></body></html>'
} > "$out/index.html"
echo "index: $out/index.html"
exit $status
