#!/usr/bin/env bash
# The control room against a small simulated lab: installs missing packages, builds the
# simulator, the bridge and the control room, starts a local mosquitto on 127.0.0.1:18830,
# twenty simulated modules (serial numbers 8001 to 8020, TCP 18831 to 18850, their control port
# 18860), a bridge that polls them, takes commands and offers the example sequences, and the
# control room with throw-away settings. Closing the control room ends everything.
# Try: echo '@6 trip 0' | nc -q1 127.0.0.1 18860 trips channel 0 of module 8007 once it is on.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VORN_BUILD_DIR:-$root/build}

"$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target vorn-control-room vorn-module-bridge vorn-module-sim

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

wait_for() { # file, pattern, what
    for _ in $(seq 100); do
        grep -q "$2" "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    echo "$3 did not get ready: see $1" >&2
    exit 1
}

printf 'listener 18830 127.0.0.1\nallow_anonymous true\n' >"$work/mosquitto.conf"
mosquitto -c "$work/mosquitto.conf" >"$work/mosquitto.out" 2>&1 &
pids+=($!)
"$build/sim/vorn-module-sim" --tcp 18831 --address 127.0.0.1 --modules 20 \
    --serial-number 8001 --control 18860 >"$work/simulator.out" 2>&1 &
pids+=($!)
wait_for "$work/simulator.out" '^tcp ' "The simulator"

mkdir -m 700 "$work/sequences"
cp "$root"/sequence/examples/*.json "$work/sequences/"
{
    printf '[broker]\nhost = 127.0.0.1\nport = 18830\nclient-id = lab\n'
    printf 'insecure-commands = local-only\n\n[defaults]\ncycle = 1s\n'
    for i in $(seq 0 19); do
        printf '\n[module rack%d-slot%d]\ntcp = 127.0.0.1:%d\ncommands = on\nsequences = %s\n' \
            $((i / 10 + 1)) $((i % 10 + 1)) $((18831 + i)) "$work/sequences"
    done
} >"$work/bridge.conf"
chmod 600 "$work/bridge.conf"
"$build/bridge/vorn-module-bridge" "$work/bridge.conf" >"$work/bridge.out" 2>&1 &
pids+=($!)
echo "Broker 127.0.0.1:18830, 20 simulated modules, bridge output in $work/bridge.out"

XDG_CONFIG_HOME="$work/config" "$build/controlroom/vorn-control-room" \
    --broker 127.0.0.1:18830 --prefix vorn
