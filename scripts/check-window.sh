#!/usr/bin/env bash
# Checks the main window as a window manager shows it: Xvfb with openbox, the program started as a
# user starts it, then its outer size (frame included) and its place on the screen, and that Ctrl+S
# saves after a menu opened by the mouse was closed with Escape.
# Usage: scripts/check-window.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/release}/app/vlconfig
fail() { echo "check-window: $*" >&2; exit 1; }
[ -x "$program" ] || fail "no $program; build first"

n=90
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
work=$(mktemp -d)
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
export DISPLAY=":$n" HOME=$work XDG_CONFIG_HOME=$work/.config
unset QT_QPA_PLATFORM
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
sleep 0.5
cp data/VLDefault.cfg "$work/stick.ini"
(cd "$work" && exec "$OLDPWD/$program" "$work/stick.ini") >/dev/null 2>&1 &
pids+=($!)
window=$(timeout 20 xdotool search --sync --onlyvisible --name 'Salvage Deck' | head -n 1)
[ -n "$window" ] || fail "the window did not appear"
# The frame is known only once the window manager has taken the window; give it that moment.
sleep 1
read -r cx cy cw ch < <(xwininfo -id "$window" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}')
# The window manager says how thick its frame is on each side.
frame=$(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
read -r left right top bottom <<<"$frame"
ow=$((cw + left + right)) oh=$((ch + top + bottom))
ox=$((cx - left)) oy=$((cy - top))
echo "check-window: outer ${ow}x$oh at $ox,$oy (frame $left $right $top $bottom)"
[ "$ow" -eq 585 ] && [ "$oh" -eq 370 ] || fail "the outer size is ${ow}x$oh, not 585x370"
dx=$((ox - (1280 - ow) / 2)) dy=$((oy - (1024 - oh) / 2))
[ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ] || fail "the window is not centred (off by $dx,$dy)"
echo "check-window: the framed window is 585x370 and centred"

# A person types into the title field, opens File with the mouse, thinks better of it (Escape) and
# saves with Ctrl+S: the file changes and the box that says it was written appears.
cp "$work/stick.ini" "$work/before.ini"
xdotool mousemove --window "$window" 300 112 click 1 # the title field
xdotool type --delay 20 X
xdotool mousemove --window "$window" 15 10 click 1 # File
sleep 0.5
xdotool key Escape
sleep 0.2
xdotool key ctrl+s
timeout 10 xdotool search --sync --onlyvisible --name '^Salvage Deck$' >/dev/null ||
    fail "Ctrl+S after a menu closed with Escape showed no box"
cmp -s "$work/before.ini" "$work/stick.ini" && fail "Ctrl+S after a menu closed with Escape did not save"
echo "check-window: Ctrl+S saves after a menu opened by the mouse was closed with Escape"
