#!/bin/sh
# Takes docs/screenshot.png: the main window after a first run, under a private Xvfb.
# Usage: tools/screenshot.sh [program]   (default build/bin/mirvo; run `make build` first)
#        MIRVO_SCREENSHOT_DISPLAY=:NN tools/screenshot.sh   (that display, not the first free one)
# Needs Xvfb, xdotool and ImageMagick (apt-get install xvfb xdotool imagemagick).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/bin/mirvo}
output=$root/docs/screenshot.png
title='Mirvo背单词'

for tool in Xvfb xdotool import convert; do
    command -v "$tool" >/dev/null 2>&1 || { echo "screenshot: $tool is missing" >&2; exit 1; }
done
[ -x "$program" ] || { echo "screenshot: no program at $program" >&2; exit 1; }

# A copy in the portable layout with a fresh store, and a home of its own, so neither the
# user's words nor settings are touched and the first run always happens.
work=$(mktemp -d)
xvfb=""
app=""
finish() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT INT TERM
mkdir -p "$work/program" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
cp "$program" "$work/program/mirvo"
cp "$(dirname "$program")/words.txt" "$work/program/words.txt"

# Xvfb picks a free display, or takes the one given, and writes its number to fd 3 once ready.
# shellcheck disable=SC2086
Xvfb ${MIRVO_SCREENSHOT_DISPLAY:-} -displayfd 3 -screen 0 1280x800x24 -nolisten tcp \
    3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
waited=0
until [ -s "$work/display" ]; do
    sleep 0.2
    waited=$((waited + 1))
    [ "$waited" -lt 100 ] || { echo "screenshot: Xvfb did not start" >&2; exit 1; }
done
display=$(cat "$work/display")
export DISPLAY=":$display"
export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime"
unset QT_QPA_PLATFORM XDG_CONFIG_HOME XDG_DATA_HOME

"$work/program/mirvo" >"$work/program.log" 2>&1 &
app=$!

# The program's widest visible window, as "width id"; nothing while none is shown.
widest() {
    for id in $(xdotool search --onlyvisible --pid "$app" --name "$title" 2>/dev/null); do
        echo "$(xdotool getwindowgeometry --shell "$id" | sed -n 's/^WIDTH=//p') $id"
    done | sort -n | tail -n 1
}

# The first-run message comes before the main window; the default answer closes it.
waited=0
until [ -n "$(widest)" ]; do
    sleep 0.5
    waited=$((waited + 1))
    [ "$waited" -lt 60 ] || { echo "screenshot: no first-run message" >&2; cat "$work/program.log" >&2; exit 1; }
done
xdotool key Return

# The main window opens once the default list is imported.
waited=0
main=""
while [ -z "$main" ]; do
    sleep 0.5
    # shellcheck disable=SC2046
    set -- $(widest)
    [ "${1:-0}" -ge 600 ] && main=$2
    waited=$((waited + 1))
    [ "$waited" -lt 240 ] || { echo "screenshot: no main window" >&2; cat "$work/program.log" >&2; exit 1; }
done
# Let the version check settle on its caption (it fails quickly without the maker's site).
sleep 3

mkdir -p "$(dirname "$output")"
import -window "$main" "$work/shot.png"
convert "$work/shot.png" -strip "$output"
echo "screenshot: wrote $output"
