#!/usr/bin/env bash
# Builds the Debian package vorn-scpi-control_<version>_<arch>.deb in build-package/ (release
# build, tests left out), checks it with lintian (no error, no warning) and prints its path.
# Install it with: sudo apt install ./<that file>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
dir="$root/build-package"
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)"
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/vorn-scpi-control_*.deb)
lintian --fail-on error,warning "$deb" >&2
echo "$deb"
