#!/usr/bin/env bash
# Builds the Debian package from the build with CPack into a throw-away folder and checks its
# file list (the expected files below /usr, those of etc/ below /etc, nothing else), the
# dependencies that dpkg-shlibdeps computed from the programs (with the control room,
# QtKeychain's library too), the bridge service (its unit passes systemd-analyze verify without
# a word and its sandbox rates an exposure of at most 2.0 in systemd-analyze security, its
# configuration is a conffile that names no module), and that Debian's package checker lintian
# reports no error and no warning on it.
# Usage: check_package.sh BUILD_DIR EXPECTED_FILES VERSION [EXTRA_FILE...]
set -euo pipefail
build=$1 expected=$2 version=$3
shift 3
out=$(mktemp -d "$build/package-test.XXXXXX")
trap 'rm -rf "$out"' EXIT

cpack -G DEB -B "$out" --config "$build/CPackConfig.cmake" >/dev/null
deb=$(ls "$out"/*.deb)
[ "$(basename "$deb")" = "vorn-scpi-control_${version}_$(dpkg --print-architecture).deb" ] \
    || { echo "unexpected package name $deb"; exit 1; }
diff -u <({ cat "$expected"; printf '%s\n' "$@"; } | grep . | sed '/^etc\//!s|^|usr/|' | sort) \
    <(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | sort)
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6serialport6 libc6 \
    libsystemd0 libqt6httpserver6 libmosquitto1; do
    grep -q "\b$needed\b" <<<"$depends" || { echo "Depends lacks $needed: $depends"; exit 1; }
done
if dpkg-deb -c "$deb" | grep usr/bin/vorn-control-room >/dev/null; then
    grep -q "\blibqt6keychain1\b" <<<"$depends" \
        || { echo "Depends lacks libqt6keychain1: $depends"; exit 1; }
fi
unit=usr/lib/systemd/system/vorn-module-bridge.service
if dpkg-deb -c "$deb" | grep "$unit" >/dev/null; then # without -q, grep reads to the end
    root="$out/root"
    dpkg-deb -x "$deb" "$root"
    dpkg-deb -e "$deb" "$out/control"
    grep -qx /etc/vorn-module-bridge.conf "$out/control/conffiles" \
        || { echo "/etc/vorn-module-bridge.conf is no conffile"; exit 1; }
    # The unit as packaged, but for its program, which is taken from the package instead of
    # /usr/bin.
    sed "s|^ExecStart=/usr/bin/|ExecStart=$root/usr/bin/|" "$root/$unit" >"$out/vorn-module-bridge.service"
    said=$(systemd-analyze verify --man=no "$out/vorn-module-bridge.service" 2>&1) \
        || { echo "systemd-analyze verify failed: $said"; exit 1; }
    [ -z "$said" ] || { echo "systemd-analyze verify: $said"; exit 1; }
    # Its exposure as systemd rates the unit's sandbox: at most 2.0 ("OK").
    said=$(systemd-analyze security --offline=yes --no-pager "$out/vorn-module-bridge.service" 2>&1) \
        || { echo "systemd-analyze security failed: $said"; exit 1; }
    exposure=$(sed -n 's/^→ Overall exposure level for [^:]*: \([0-9.]*\) .*/\1/p' <<<"$said")
    awk -v e="$exposure" 'BEGIN { exit !(e != "" && e <= 2.0) }' \
        || { echo "the bridge's service is too exposed ($exposure, at most 2.0):"; echo "$said"; exit 1; }
    echo "the bridge's service: exposure $exposure"
    said=$("$root/usr/bin/vorn-module-bridge" --check "$root/etc/vorn-module-bridge.conf" 2>&1) \
        && { echo "the packaged configuration polls something: $said"; exit 1; }
    grep -q "no module: add a \[module NAME\]" <<<"$said" \
        || { echo "the packaged configuration: $said"; exit 1; }
fi
lintian --fail-on error,warning "$deb" || { echo "lintian: errors or warnings above"; exit 1; }
echo "package $deb: files and dependencies as expected, lintian content"
