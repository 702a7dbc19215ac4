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
    poppler-utils locales
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

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The test that a decimal comma in the locale does not change how a field is
# read needs a locale with one; Debian makes those it is told of in
# /etc/locale.gen.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
    echo "Generating the locale de_DE.UTF-8"
    $sudo sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)$/\1/' /etc/locale.gen
    grep -qx 'de_DE\.UTF-8 UTF-8' /etc/locale.gen ||
        echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen
fi
