#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the window need,
# asking apt only when one of them is missing. Packages named as arguments
# are wanted as well (the packaging scripts ask for their heavier tools so).
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev rapidjson-dev
    fonts-liberation2 fonts-wine
    xvfb xdotool imagemagick xauth
    help2man desktop-file-utils appstream man-db file
    poppler-utils
    at-spi2-core python3-pyatspi dbus
    clang libclang-rt-14-dev
    emscripten chromium nodejs
    "$@"
)
# npm comes with Debian's nodejs as a package of its own, but is part of a
# nodejs from elsewhere (nodesource), whose package refuses Debian's npm.
command -v npm >/dev/null || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
