#!/usr/bin/env bash
# The clipboard between Vantor and another program on a real X display
# (Xvfb), with xclip as the other program: text copied in Vantor is read as
# UTF-8 with line feeds, text copied elsewhere is pasted into the log, and a
# copied plot is read as a PNG image with its black frame. Vantor runs
# clipboard_x11.vs, which waits for each answer from this side.
set -uo pipefail
vantor="$1"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
peer="" app="" xvfb=""
trap 'kill $peer "$app" "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT

fail() {
  echo "clipboard: $*"
  cat "$work/app.log" 2>/dev/null
  exit 1
}

# Xvfb picks a free display itself and names it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1100x820x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || fail "expected Xvfb to start, found: $(cat "$work/xvfb.log")"
display=":$(head -n1 "$work/display")"
export DISPLAY="$display"

QT_QPA_PLATFORM=xcb "$vantor" --desktop 1024x768 --script "$here/clipboard_x11.vs" >"$work/app.log" 2>&1 &
app=$!

# Waits until the clipboard holds the text $1, as Vantor copied it.
wait_for_text() {
  local found=""
  for _ in $(seq 200); do
    found="$(xclip -selection clipboard -t UTF8_STRING -o 2>/dev/null)"
    [ "$found" = "$1" ] && return 0
    kill -0 "$app" 2>/dev/null || fail "expected Vantor running while waiting for '$1', found it ended"
    sleep 0.1
  done
  fail "expected the clipboard text '$1' from Vantor, found '$found'"
}

# Another program copies: xclip owns the clipboard until Vantor copies again.
offer() {
  [ -n "$peer" ] && kill "$peer" 2>/dev/null
  printf '%s' "$1" | xclip -quiet -selection clipboard -i >/dev/null 2>&1 &
  peer=$!
}

wait_for_text "Window"
offer $'from xclip\nsecond \xc2\xb5'

# Vantor copies the plot: the clipboard offers a PNG.
for _ in $(seq 200); do
  xclip -selection clipboard -t TARGETS -o 2>/dev/null | grep -qx 'image/png' && break
  sleep 0.1
done
xclip -selection clipboard -t image/png -o >"$work/plot.png" 2>/dev/null ||
  fail "expected a PNG image on the clipboard, found none"
size="$(identify -format '%wx%h' "$work/plot.png" 2>/dev/null)"
[ "$size" = "694x694" ] || fail "expected a 694x694 PNG from the copied plot, found '$size'"
corner="$(convert "$work/plot.png" -format '%[hex:p{0,0}]' info: 2>/dev/null)"
inside="$(convert "$work/plot.png" -format '%[hex:p{5,5}]' info: 2>/dev/null)"
[ "${corner:0:6}" = "000000" ] || fail "expected the frame's corner black, found #$corner"
[ "${inside:0:6}" = "FFFFFF" ] || fail "expected white inside the frame, found #$inside"
offer "picture read"

for _ in $(seq 300); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "expected the script to end, found Vantor still running"
wait "$app"
code=$?
[ "$code" -eq 0 ] || fail "expected the script to pass with status 0, found $code"
echo "clipboard: text and pictures went both ways between Vantor and xclip on $display"
