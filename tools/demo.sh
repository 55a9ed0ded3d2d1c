#!/usr/bin/env bash
# Without a display: runs Velmora against the simulator in the test bed on a virtual X display,
# clicks "Found Device" with real X input, lets it poll, and saves a screenshot.
# Usage: tools/demo.sh [OUTPUT.png] [SECONDS-OF-POLLING] [POINTS]
# POINTS, when given, is typed into the "Points" field first (the chart's window length).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORA_BUILD:-$here/build}
out=${1:-$here/out/velmora-demo.png}
poll_s=${2:-25}
points=${3:-}
mkdir -p "$(dirname "$out")"

display=:$(( 100 + RANDOM % 100 ))
Xvfb "$display" -screen 0 940x860x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
wm=
trap 'kill $wm $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm=$!
sleep 0.5

# Inside the "pc" host: start the tool, find its window, press the button, wait, take the picture.
session=$(cat <<SCRIPT
set -e
"$build/velmora" 2>/dev/null &
app=\$!
for _ in \$(seq 100); do wid=\$(xdotool search --name '^MainForm\$' 2>/dev/null | head -1); [ -n "\$wid" ] && break; sleep 0.1; done
[ -n "\$wid" ] || { echo "demo: the window did not appear" >&2; exit 1; }
sleep 1
if [ -n "$points" ]; then
  # "Points" sits at 368,616 and is 39 x 21.
  xdotool mousemove --window "\$wid" 387 626 click 1 key --clearmodifiers ctrl+a type "$points"
fi
# "Found Device" sits at 104,312 and is 89 x 25.
xdotool mousemove --window "\$wid" 148 324 click 1
echo "demo: clicked Found Device; polling for $poll_s s"
sleep "$poll_s"
import -window root "$out"
kill \$app
SCRIPT
)
"$here/tools/testbed.sh" --sim "$build/sim/velmora-device" --sim-arg --no-interval-record --timeout $(( poll_s + 60 )) -- bash -c "$session"
echo "demo: screenshot saved to $out"
