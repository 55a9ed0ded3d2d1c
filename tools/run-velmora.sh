#!/usr/bin/env bash
# Installs what is missing, builds, and runs Velmora against the bundled simulated device inside
# the private test-bed network. With a display the operator drives the window; without one the
# window runs on a virtual display, "Found Device" is pressed for you and a screenshot is saved.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/tools/install-deps.sh"
"$here/tools/build.sh"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "Velmora runs in the test bed; the simulated device answers at 192.168.77.10. Close the window to stop."
  exec "$here/tools/testbed.sh" --sim "$here/build/sim/velmora-device" --sim-arg --no-interval-record --timeout 0 \
    -- "$here/build/velmora"
fi
exec "$here/tools/demo.sh" "$here/out/velmora-demo.png" "${VELMORA_DEMO_SECONDS:-25}"
