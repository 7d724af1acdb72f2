#!/usr/bin/env bash
# Installs the build into a throw-away prefix and checks what lands there: exactly the expected
# files (no stand-in GPIB library), a panel and a control room (where it is built) that answer
# --version and --help without a display, and the simulator and the bridge that answer
# --version, from the installed copies.
# Usage: check_install.sh BUILD_DIR EXPECTED_FILES VERSION [EXTRA_FILE...]
set -euo pipefail
build=$1 expected=$2 version=$3
shift 3
prefix=$(mktemp -d "$build/install-test.XXXXXX")
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
diff -u <({ cat "$expected"; printf '%s\n' "$@"; } | grep . | sort) <(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)

# No display and the X11 platform: a program that built a QApplication would abort here.
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb LANG=C.UTF-8 LC_ALL=C.UTF-8 \
    LANGUAGE= "$prefix/bin/vorn-scpi-control" --version)
[ "$answer" = "Vorn SCPI Control $version" ] || { echo "--version said: $answer"; exit 1; }
for program in "$prefix"/bin/vorn-module-*; do
    answer=$("$program" --version)
    [ "$answer" = "$(basename "$program") $version" ] \
        || { echo "$program --version said: $answer"; exit 1; }
done
help=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb LANG=C.UTF-8 LC_ALL=C.UTF-8 \
    LANGUAGE= "$prefix/bin/vorn-scpi-control" --help)
grep -q -- '--version' <<<"$help" || { echo "--help said: $help"; exit 1; }
if "$prefix/bin/vorn-scpi-control" --no-such-option 2>/dev/null; then
    echo "an unknown option was accepted"; exit 1
fi
room="$prefix/bin/vorn-control-room"
if [ -e "$room" ]; then
    answer=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb LANG=C.UTF-8 LC_ALL=C.UTF-8 \
        LANGUAGE= "$room" --version)
    [ "$answer" = "vorn-control-room $version" ] \
        || { echo "$room --version said: $answer"; exit 1; }
    help=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb LANG=C.UTF-8 LC_ALL=C.UTF-8 \
        LANGUAGE= "$room" --prefix lab --help)
    grep -q -- '--broker' <<<"$help" || { echo "$room --help said: $help"; exit 1; }
fi
echo "installed files and --version/--help as expected"
