#!/usr/bin/env bash
# Builds the Debian package from the build with CPack into a throw-away folder and checks its
# file list (the expected files below /usr, nothing else), the dependencies that
# dpkg-shlibdeps computed from the programs, and that Debian's package checker lintian reports
# no error and no warning on it.
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
diff -u <({ cat "$expected"; printf '%s\n' "$@"; } | grep . | sed 's|^|usr/|' | sort) \
    <(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | sort)
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6serialport6 libc6; do
    grep -q "\b$needed\b" <<<"$depends" || { echo "Depends lacks $needed: $depends"; exit 1; }
done
lintian --fail-on error,warning "$deb" || { echo "lintian: errors or warnings above"; exit 1; }
echo "package $deb: files and dependencies as expected, lintian content"
