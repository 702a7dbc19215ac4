#!/usr/bin/env bash
# Takes docs/check-dialog.png: the real window under Xvfb, the first worked
# example typed and calculated, then "Check My Work…" (F7) with a student's
# sheet of two slips typed in and checked; and docs/check-markasigo.png: the
# same sheet typed afresh with "Mark as I go" as far as the value after the
# first slip. Needs Xvfb, xdotool and ImageMagick's import; without a window
# manager there are no title bars.
# Usage: tools/check-dialog-shot.sh [BUILD_DIR] [OUTPUT_PNG] [MARK_AS_I_GO_PNG]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
output=$(realpath "${2:-docs/check-dialog.png}")
asIGo=$(realpath "${3:-docs/check-markasigo.png}")
for tool in Xvfb xdotool import; do
    command -v "$tool" > /dev/null || { echo "check-dialog-shot: $tool missing" >&2; exit 1; }
done

displays=$(mktemp)
Xvfb -displayfd 3 -screen 0 1100x1100x24 -nolisten tcp 3> "$displays" 2> /dev/null &
xvfb=$!
trap 'kill $program $xvfb 2> /dev/null; rm -f "$displays"' EXIT
program=
for _ in $(seq 50); do [ -s "$displays" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$displays")" QT_QPA_PLATFORM=xcb

"$build/bin/sightcheck" 2> /dev/null &
program=$!
window=$(xdotool search --sync --onlyvisible --name "Sight Reduction Method Checker" | head -1)
xdotool windowmove "$window" 20 20
# No window manager gives the window the keyboard, so it is given here.
xdotool windowfocus --sync "$window"
sleep 0.5

keys() { xdotool key --delay 40 "$@"; }
typed() { xdotool type --delay 40 "$1"; }

# The first worked example: GHA 54°12.3', Dec N 20°15.0', DR L N 40°00.0',
# DR Lo W 70°00.0', Q(x); the focus starts in the GHA degrees.
typed 54; keys Tab; typed 12.3; keys Tab; typed 20; keys Tab; typed 15.0; keys Tab Tab
typed 40; keys Tab; typed 0; keys Tab Tab; typed 70; keys Tab; typed 0
keys Tab Tab Tab Tab Return
sleep 0.3
keys F7
dialog=$(xdotool search --sync --onlyvisible --name "^Check My Work$" | head -1)
xdotool windowmove "$dialog" 20 430
xdotool windowfocus --sync "$dialog"
sleep 0.5

# The student's sheet of the manual's example, box by box in the order of
# working (down the form's left column, then down its right): Q(dec) looked
# up where the form asks for Q(90 - dec), and the Z rule not applied; every
# other number is worked right from the student's own.
sheet=(
    "344 12.3" "15 47.7" "15 47.7" "69 45.0" 1060.98 1301.23 2362.21 "5 24.6"
    "84 35.4" 1060.98 4.46 1056.52 "20 20.4" "20 20.4" "109 39.6" "70 20.4" 60.06
    64.52 "69 38.4" "20 21.6" 2361.46 1055.79 1305.67 15.7 15.7 15.7
)
for i in "${!sheet[@]}"; do
    [ "$i" -eq 0 ] || keys Tab
    typed "${sheet[$i]}"
done
# Enter in a box checks.
keys Return
sleep 0.5
import -window root -crop 700x1055+0+0 "$output"
echo "wrote $output"

# Afresh, marked as it goes: Enter leaves each box for the next; the slip's
# words stand beside Q(90 - dec) as soon as it is left, and Q(v), worked on
# from it, is marked at once.
keys alt+m alt+a
for i in 0 1 2 3 4 5 6; do
    typed "${sheet[$i]}"
    keys Return
done
sleep 0.5
import -window root -crop 930x1055+0+0 "$asIGo"
echo "wrote $asIGo"
