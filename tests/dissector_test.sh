#!/usr/bin/env bash
# Captures a session in the test bed with tshark and checks what the Wireshark dissector makes
# of it: the command line's frames, the device's replies, and crafted replies sent from the
# intruder host (the reference examples, unknown codes and a record cut short).
# Usage, inside the test bed: dissector_test.sh CLI SENDER DISSECTOR
set -euo pipefail
cli=$1 sender=$2 dissector=$3
work=$(mktemp -d)
trap 'kill "$capture" 2>/dev/null || true; rm -rf "$work"' EXIT
failures=0
check() {  # what, expected, actual
  if [ "$2" == "$3" ]; then
    echo "PASS   : $1"
  else
    echo "FAIL!  : $1"
    echo "   expected: $2"
    echo "   actual:   $3"
    failures=$((failures + 1))
  fi
}

tshark -n -i eth0 -f udp -w "$work/session.pcap" 2>"$work/tshark.err" &
capture=$!
for _ in $(seq 100); do grep -q "Capturing on" "$work/tshark.err" && break; sleep 0.1; done

"$cli" find >/dev/null
"$cli" set server abc 8283 >/dev/null
"$cli" set mac 02A1B2C3D4E5 >/dev/null
"$cli" watch --count 1 >/dev/null
send() { ip netns exec "$VELMORA_NS_INTRUDER" "$sender" 192.168.77.66 "$@"; }
# Replies from the intruder's port 3333 to the tool's host port.
send 3333 192.168.77.2 2222 \
  AA55000001C0A8010AC0A80101FFFFFF000A000001AE050A07312E3035 \
  AA5500000301035B2061626305AE08 \
  AA5500000302005B20C0A8010A0AAE08 \
  AA55000004123456789ABC \
  AA550000090450019101FFFF0180 \
  AA550000060800 \
  AA55000001C0A8
# Commands towards port 3333, as the window sends them.
send 40000 192.168.77.2 3333 EEBB01C0A80064C0A80001FFFFFF00 EEBB02AE08 EEBB03020A0000055B20 EEBB0301005B20 EEBB053C
sleep 0.5
kill -INT "$capture"
wait "$capture" || true

decode() { tshark -n -r "$work/session.pcap" -X lua_script:"$dissector" -Y velmora "$@" 2>/dev/null; }
info=$(decode -T fields -e _ws.col.Info)
echo "$info" | sed 's/^/  /'

# The session: every frame of it is named.
# Each command of the command line finds the device first.
check "discovery requests" "4" "$(grep -c '^Command Found Device$' <<<"$info")"
check "discovery replies" "4" "$(grep -c '^Reply network 192.168.77.10, server collector.lan:8283, MAC 0a:1b:2c:3d:4e:5f, interval 1, firmware 1.05$' <<<"$info")"
check "set server by name" "1" "$(grep -c '^Command Set Server abc:8283$' <<<"$info")"
# The device's answer and the crafted name-form reply read alike.
check "server replies by name" "2" "$(grep -c '^Reply server abc:8283$' <<<"$info")"
check "set MAC" "1" "$(grep -c '^Command Set MAC 02:a1:b2:c3:d4:e5$' <<<"$info")"
check "temperature poll" "1" "$(grep -c '^Command Read Temperatures$' <<<"$info")"
check "temperature reply" "1" "$(grep -cE '^Reply temperatures -?[0-9]+\.[0-9]{4} -?[0-9]+\.[0-9]{4}$' <<<"$info")"
check "no frame left unnamed" "" "$(grep -vE '^(Command|Reply) ' <<<"$info" || true)"

# The reference replies, field by field.
fields() { decode -Y "$1" -T fields -E separator=/s "${@:2}" | tr ' ' /; }
check "29-byte reply" "192.168.1.10/192.168.1.1/255.255.255.0/10.0.0.1/1/10/1.05" \
  "$(fields 'velmora.dns == 10.0.0.1' -e velmora.address -e velmora.gateway -e velmora.mask -e velmora.dns -e velmora.dhcp \
    -e velmora.interval -e velmora.firmware)"
check "server record, name form" "1/abc/8283/5/2222" \
  "$(fields 'velmora.server.name == "abc" && velmora.record' -e velmora.server.kind -e velmora.server.name \
    -e velmora.server.port -e velmora.interval -e velmora.host_port | tail -n 1)"
check "server record, address form" "2/192.168.1.10/8283/10/2222" \
  "$(fields 'velmora.server.address == 192.168.1.10 && velmora.record' -e velmora.server.kind \
    -e velmora.server.address -e velmora.server.port -e velmora.interval -e velmora.host_port)"
check "MAC record" "12:34:56:78:9a:bc" "$(fields 'velmora.mac == 12:34:56:78:9a:bc' -e velmora.mac)"
check "temperatures decoded" "21,25.0625,-0.0625,-127.9375" \
  "$(fields 'velmora.sensors == 4' -e velmora.temperature)"
check "unknown codes flagged, one byte each" "3" \
  "$(decode -Y 'velmora.unknown' -T fields -e _ws.expert.message | tr ',' '\n' | grep -c 'Unknown record code')"
check "record cut short flagged" "Network record needs 18 bytes, 3 present" \
  "$(decode -Y 'velmora.short' -T fields -e _ws.expert.message)"
check "truncated record not decoded" "" "$(fields 'velmora.short' -e velmora.address)"

# The reference command frames.
check "set params" "192.168.0.100/192.168.0.1/255.255.255.0" \
  "$(fields 'velmora.command == 1' -e velmora.address -e velmora.gateway -e velmora.mask)"
check "set host port, little-endian" "2222" "$(fields 'velmora.command == 2' -e velmora.host_port)"
check "set server by address" "2/10.0.0.5/8283" \
  "$(fields 'velmora.command == 3 && velmora.server.kind == 2' -e velmora.server.kind -e velmora.server.address \
    -e velmora.server.port)"
check "set server, empty name" "0/8283" \
  "$(fields 'velmora.command == 3 && velmora.server.name_length == 0' -e velmora.server.name_length \
    -e velmora.server.port)"
check "set interval 60" "60" "$(fields 'velmora.command == 5' -e velmora.interval)"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all dissector checks passed"
