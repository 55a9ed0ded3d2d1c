#!/usr/bin/env bash
# Shows the Velmora window on a virtual X display and saves a PNG of it.
# Usage: tools/screenshot.sh OUTPUT.png [seconds-to-wait] [command...]
# Without a command it starts the window alone, inside a network namespace with no way out.
set -euo pipefail
out=${1:?usage: screenshot.sh OUTPUT.png [seconds] [command...]}
wait_s=${2:-3}
shift $(( $# >= 2 ? 2 : 1 ))
here=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORA_BUILD:-$here/build}

display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 940x860x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $wm $xvfb 2>/dev/null || true' EXIT
app=; wm=
for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
if command -v openbox >/dev/null; then
  DISPLAY=$display openbox >/dev/null 2>&1 &
  wm=$!
  sleep 0.5
fi
export DISPLAY=$display
if [ $# -gt 0 ]; then
  "$@" &
else
  unshare -n "$build/velmora" &
fi
app=$!
for _ in $(seq 100); do xwininfo -root -tree 2>/dev/null | grep -q '"MainForm"' && break; sleep 0.1; done
sleep "$wait_s"
import -window root "$out"
echo "saved $out"
