#!/usr/bin/env bash
# Installs the build into a staging folder, builds the Debian package, unpacks it into another,
# and checks both: programs, desktop entry, icon, dependencies that Debian can satisfy.
# Usage: package_test.sh BUILD-FOLDER
set -euo pipefail
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
failures=0
check() {  # what, command...
  if "${@:2}" >"$stage/out" 2>&1; then
    echo "PASS   : $1"
  else
    echo "FAIL!  : $1"
    sed 's/^/   /' "$stage/out"
    failures=$((failures + 1))
  fi
}
installed_tree() {  # what, root
  local root=$2
  for program in velmora velmora-cli velmora-device; do
    check "$1: $program installed" test -x "$root/usr/bin/$program"
  done
  check "$1: desktop entry validates" desktop-file-validate "$root/usr/share/applications/velmora.desktop"
  check "$1: desktop entry starts velmora" grep -qx 'Exec=velmora' "$root/usr/share/applications/velmora.desktop"
  check "$1: icon in the hicolor theme" test -s "$root/usr/share/icons/hicolor/32x32/apps/velmora.png"
  check "$1: dissector installed" test -s "$root/usr/share/velmora/wireshark/velmora.lua"
  check "$1: every library found" bash -c "! ldd '$root/usr/bin/velmora' | grep -q 'not found'"
  check "$1: velmora-cli runs" "$root/usr/bin/velmora-cli" --help
}

cmake --install "$build" --prefix "$stage/install/usr" >/dev/null
installed_tree "cmake --install" "$stage/install"

(cd "$build" && cpack --config CPackConfig.cmake -B "$stage/package" >/dev/null)
deb=$(find "$stage/package" -maxdepth 1 -name 'velmora_*.deb' | head -n 1)
check "Debian package built" test -s "$deb"
depends=$(dpkg-deb -f "$deb" Depends)
for runtime in libqt6core6 libqt6gui6 libqt6widgets6 libqt6charts6; do
  check "package depends on $runtime" grep -q "$runtime" <<<"$depends"
done
dpkg-deb -x "$deb" "$stage/unpacked"
installed_tree "package" "$stage/unpacked"
# What apt would do on this machine with the package: every dependency resolvable.
check "apt accepts the package" apt-get install --simulate --no-install-recommends "$deb"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all package checks passed"
