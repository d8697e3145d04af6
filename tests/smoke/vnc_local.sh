#!/usr/bin/env bash
# Without a display Vantor runs on Qt's VNC platform; with
# VANTOR_VNC_LOCAL_ONLY it must listen on the loopback address only and
# still greet a VNC client there.
set -uo pipefail
vantor="$1"
port=$((5990 + RANDOM % 9))
log="$(mktemp)"
env -u DISPLAY VANTOR_VNC_LOCAL_ONLY=1 QT_QPA_PLATFORM="vnc:port=${port}:size=1024x768" "$vantor" >"$log" 2>&1 &
app=$!
trap 'kill "$app" 2>/dev/null; rm -f "$log"' EXIT

listening=""
for _ in $(seq 50); do
  listening=$(ss -ltnH "sport = :${port}" 2>/dev/null | awk '{print $4}')
  [ -n "$listening" ] && break
  sleep 0.1
done
case "$listening" in
  127.0.0.1:${port}|"[::ffff:127.0.0.1]:${port}") ;;
  *) echo "vnc: expected a listener on 127.0.0.1:${port} only, found '${listening}'"; cat "$log"; exit 1 ;;
esac
greeting=$(timeout 3 bash -c "exec 3<>/dev/tcp/127.0.0.1/${port}; head -c 3 <&3")
if [ "$greeting" != "RFB" ]; then
  echo "vnc: expected the RFB greeting on 127.0.0.1:${port}, found '${greeting}'"
  exit 1
fi
echo "vnc: listening on ${listening} only, and it greets a client"
