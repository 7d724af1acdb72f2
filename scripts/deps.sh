#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, when any is missing.
set -euo pipefail
packages=(
    # build
    cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev
    # the font the widget tests render with
    fonts-dejavu-core
    # the module bridge and its tests: MQTT client library, a real broker and its command-line
    # clients, certificates, the service manager's notifications, the HTTP server of the
    # metrics (its CMake files want the web sockets' too) and a monitoring server that checks
    # and scrapes them
    libmosquitto-dev mosquitto mosquitto-clients openssl libsystemd-dev qt6-httpserver-dev
    qt6-websockets-dev prometheus
    # the control room's broker password in the desktop's secret store
    qtkeychain-qt6-dev
    # fuzz targets
    clang-14 libclang-rt-14-dev
    # translations, installing and the Debian package
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n desktop-file-utils appstream dpkg-dev
    # manual pages from --help, and the checks of the Debian package and the bridge's service
    help2man lintian systemd
    # end-to-end tests: X server, accessibility bus, key presses, screenshots
    xvfb xdotool imagemagick dbus at-spi2-core python3 python3-pyatspi
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
