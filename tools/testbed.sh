#!/usr/bin/env bash
# A private two-host network on this machine: "pc" (192.168.77.2) and "device" (192.168.77.10),
# plus an "intruder" (192.168.77.66), joined by a bridge inside network namespaces that this
# script makes and removes. Nothing sent inside them can leave the machine.
#
# Usage: tools/testbed.sh [--no-sim] [--sim-arg ARG]... [--sim PATH] [--timeout S] -- COMMAND [ARGS...]
# Runs the simulator in "device" and COMMAND in "pc", then removes everything, also on failure
# or interrupt; COMMAND is stopped after --timeout seconds (default 600). COMMAND sees:
#   VELMORA_PC_IP, VELMORA_DEVICE_IP, VELMORA_INTRUDER_IP  the three addresses
#   VELMORA_NS_PC, VELMORA_NS_DEVICE, VELMORA_NS_INTRUDER  the namespace names (for ip netns exec)
#   VELMORA_SIM_LOG                                        the simulator's log of received frames
# Run as root, or as any user where unprivileged user namespaces are allowed.
set -euo pipefail

if [ "$(id -u)" -ne 0 ] && [ -z "${VELMORA_TESTBED_USERNS:-}" ]; then
  # Become root of a private user and mount namespace, where namespaces can be made without privileges.
  export VELMORA_TESTBED_USERNS=1
  exec unshare --user --map-root-user --mount --propagation private "$0" "$@"
fi
if [ -n "${VELMORA_TESTBED_USERNS:-}" ]; then
  mount -t tmpfs tmpfs /run 2>/dev/null || true
  mkdir -p /run/netns
fi

here=$(cd "$(dirname "$0")/.." && pwd)
sim=${VELMORA_SIM:-$here/build/sim/velmora-device}
sim_args=()
run_sim=1
limit=600
while [ $# -gt 0 ]; do
  case "$1" in
    --no-sim) run_sim=0; shift ;;
    --sim) sim=$2; shift 2 ;;
    --timeout) limit=$2; shift 2 ;;
    --sim-arg) sim_args+=("$2"); shift 2 ;;
    --) shift; break ;;
    *) echo "testbed: unknown option $1" >&2; exit 2 ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: testbed.sh [--no-sim] [--sim-arg ARG]... -- COMMAND" >&2; exit 2; }

# Namespaces left by a test bed that was killed outright (its process is gone) are removed first.
for ns in $(ip netns list 2>/dev/null | awk '{print $1}'); do
  case "$ns" in vpc* | vdev* | vint*)
    owner=${ns#vpc}; owner=${owner#vdev}; owner=${owner#vint}
    kill -0 "$owner" 2>/dev/null || ip netns del "$ns" 2>/dev/null || true ;;
  esac
done

id=$$
pc=vpc$id; dev=vdev$id; intr=vint$id
work=$(mktemp -d /tmp/velmora-testbed.XXXXXX)
sim_pid=
cleanup() {
  set +e
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  for ns in "$pc" "$dev" "$intr"; do
    ip netns pids "$ns" 2>/dev/null | xargs -r kill -9 2>/dev/null
    ip netns del "$ns" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

for ns in "$pc" "$dev" "$intr"; do
  # In a user namespace "ip netns add" reports a harmless setns failure once the namespace exists.
  ip netns add "$ns" 2>/dev/null || [ -e "/run/netns/$ns" ]
  ip -n "$ns" link set lo up
done
# The device's namespace holds the bridge; pc and intruder hang off it by veth pairs.
ip -n "$dev" link add br0 type bridge
ip -n "$dev" link set br0 up
ip -n "$dev" addr add 192.168.77.10/24 brd 192.168.77.255 dev br0
attach() {  # namespace, address, bridge port name
  # Made inside the device's namespace, so that no link ever exists in the machine's own.
  ip -n "$dev" link add "$3" type veth peer name eth0 netns "$1"
  ip -n "$dev" link set "$3" master br0 up
  ip -n "$1" addr add "$2/24" brd 192.168.77.255 dev eth0
  ip -n "$1" link set eth0 up
}
attach "$pc" 192.168.77.2 port-pc
attach "$intr" 192.168.77.66 port-intruder

export VELMORA_PC_IP=192.168.77.2 VELMORA_DEVICE_IP=192.168.77.10 VELMORA_INTRUDER_IP=192.168.77.66
export VELMORA_NS_PC=$pc VELMORA_NS_DEVICE=$dev VELMORA_NS_INTRUDER=$intr
export VELMORA_SIM_LOG=$work/sim.log
: >"$VELMORA_SIM_LOG"

if [ "$run_sim" = 1 ]; then
  ip netns exec "$dev" "$sim" --log "$VELMORA_SIM_LOG" --log-detail "${sim_args[@]}" >"$work/sim.out" 2>&1 &
  sim_pid=$!
  for _ in $(seq 50); do grep -q listening "$work/sim.out" 2>/dev/null && break; sleep 0.05; done
  grep -q listening "$work/sim.out" || { cat "$work/sim.out" >&2; echo "testbed: the simulator did not start" >&2; exit 1; }
fi

set +e
ip netns exec "$pc" timeout --kill-after=5 "$limit" "$@"
status=$?
exit $status
