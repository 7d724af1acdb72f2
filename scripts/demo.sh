#!/usr/bin/env bash
# One command from a fresh Debian 12 machine to a live panel: installs missing packages, builds
# the panel and the simulator, starts a four-channel simulated module on 127.0.0.1:10001 and the
# panel with throw-away settings that preselect the Ethernet tab with that address. Press
# Connect; closing the panel ends the simulator.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VORN_BUILD_DIR:-$root/build}

"$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target vorn-scpi-control vorn-module-sim

settings=$(mktemp -d)
sim_out="$settings/simulator.out"
sim_pid=""
cleanup() {
    if [ -n "$sim_pid" ]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
    rm -rf "$settings"
}
trap cleanup EXIT INT TERM

mkdir -p "$settings/Vornwerk GmbH"
cat >"$settings/Vornwerk GmbH/VornScpiControl.ini" <<'INI'
[General]
SelectedTab=1
IpAddress=127.0.0.1
TcpPort=10001
INI

"$build/sim/vorn-module-sim" --tcp 10001 --address 127.0.0.1 --preset KA2F --channels 4 \
    >"$sim_out" &
sim_pid=$!
for _ in $(seq 50); do
    grep -q '^tcp ' "$sim_out" 2>/dev/null && break
    kill -0 "$sim_pid" 2>/dev/null || { echo "The simulator did not start (port 10001 in use?)" >&2; exit 1; }
    sleep 0.1
done
grep -q '^tcp ' "$sim_out" || { echo "The simulator did not get ready" >&2; exit 1; }
echo "Simulated module: $(head -n1 "$sim_out"); settings in $settings"

XDG_CONFIG_HOME="$settings" "$build/app/vorn-scpi-control"
