#!/usr/bin/env bash
# Builds and runs the benchmark in the test bed against the simulator answering at once,
# and prints its table. BENCH_EXCHANGES (1000) and BENCH_IDLE_SECONDS (60) change its length.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/tools/build.sh" >/dev/null
exec "$here/tools/testbed.sh" --sim "$here/build/sim/velmora-device" --timeout 900 -- "$here/build/bench/velmora-bench"
