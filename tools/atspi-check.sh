#!/usr/bin/env bash
# Reads the worked form back through the real accessibility bus: a private
# D-Bus session, a virtual X server, the window with Qt's AT-SPI bridge
# switched on, and tools/atspi_read_back.py. Exits 77 (skipped) when Xvfb,
# dbus-run-session, at-spi2-core or python3-pyatspi is missing.
# Usage: tools/atspi-check.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")

python=/usr/bin/python3
for tool in Xvfb dbus-run-session "$python"; do
    command -v "$tool" > /dev/null || { echo "atspi-check: skipped ($tool missing)"; exit 77; }
done
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "atspi-check: skipped (at-spi2-core missing)"; exit 77; }
"$python" -c 'import pyatspi' 2> /dev/null || { echo "atspi-check: skipped (python3-pyatspi missing)"; exit 77; }

export SIGHTCHECK="$build/bin/sightcheck" SIGHTFORM="$build/bin/sightform" PYTHON="$python"
exec dbus-run-session -- bash -c '
    set -euo pipefail
    displays=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$displays" 2> /dev/null &
    xvfb=$!
    trap "kill $xvfb 2> /dev/null; rm -f \"$displays\"" EXIT
    for _ in $(seq 50); do [ -s "$displays" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$displays")"
    export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
    "$PYTHON" tools/atspi_read_back.py "$SIGHTCHECK" "$SIGHTFORM"
'
