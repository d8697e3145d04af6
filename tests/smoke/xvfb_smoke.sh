#!/usr/bin/env bash
# Starts Vantor on the real X11 front end under Xvfb, takes a screenshot of
# the X screen and checks that the first plot is drawn: the red graph of f
# on a white plot, the blue orbit. Then SIGTERM must end it through the quit
# event with status 0.
set -uo pipefail
vantor="$1"
work="$(mktemp -d)"
trap 'kill "$app" "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT

display=":$((100 + RANDOM % 500))"
Xvfb "$display" -screen 0 1100x820x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done

DISPLAY="$display" QT_QPA_PLATFORM=xcb "$vantor" --desktop 1024x768 >"$work/app.log" 2>&1 &
app=$!

count() {  # pixels of one colour in the screenshot
  convert "$work/shot.png" -fill black +opaque "$1" -fill white -opaque "$1" -format '%[fx:mean*w*h]' info: 2>/dev/null |
    cut -d. -f1
}

red=0 white=0 blue=0
for _ in $(seq 80); do
  sleep 0.25
  import -display "$display" -window root "$work/shot.png" 2>/dev/null || continue
  red=$(count '#FF0000'); white=$(count '#FFFFFF'); blue=$(count '#0000FF')
  [ "${red:-0}" -gt 300 ] && [ "${white:-0}" -gt 100000 ] && [ "${blue:-0}" -gt 100 ] && break
done

status=0
if [ "${red:-0}" -le 300 ] || [ "${white:-0}" -le 100000 ] || [ "${blue:-0}" -le 100 ]; then
  echo "smoke: expected a drawn cobweb plot (red > 300, white > 100000, blue > 100 pixels)," \
       "found red=$red white=$white blue=$blue"
  cp "$work/shot.png" /tmp/vantor-smoke-failed.png 2>/dev/null && echo "smoke: screenshot kept in /tmp/vantor-smoke-failed.png"
  cat "$work/app.log"
  status=1
fi

kill -TERM "$app"
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then
  echo "smoke: expected Vantor to end on SIGTERM through its quit event, found it still running"
  status=1
else
  wait "$app"; code=$?
  if [ "$code" -ne 0 ]; then
    echo "smoke: expected exit status 0 after SIGTERM, found $code"
    status=1
  fi
fi
[ "$status" -eq 0 ] && echo "smoke: the X11 front end drew the plot (red=$red white=$white blue=$blue) and quit on SIGTERM"
exit "$status"
