#!/usr/bin/env bash
# Installs what is missing, builds, and opens the window; with --web, builds
# the web page instead and serves it on http://localhost:8000/.
set -euo pipefail
cd "$(dirname "$0")"

./tools/install-deps.sh

if [ "${1:-}" = "--web" ]; then
    web/build.sh
    port=${PORT:-8000}
    echo "Serving the checker on http://localhost:${port}/ (Ctrl+C stops)"
    exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/site
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset)."
    echo "Run ./run.sh from a desktop session, or start a virtual one:"
    echo "    Xvfb :99 -screen 0 1280x1024x24 & DISPLAY=:99 ./run.sh"
    echo "The command-line companion works without a display: build/bin/sightform --help"
    exit 1
fi
exec build/bin/sightcheck "$@"
