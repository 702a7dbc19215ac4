#!/usr/bin/env bash
# Builds the web page into build-web/site/: the core compiled to WebAssembly
# by Emscripten, and the page's own files. The folder is the whole site,
# ready to copy to any static host.
set -euo pipefail
cd "$(dirname "$0")/.."

emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build build-web -j"$(nproc)"
echo "The site is in build-web/site/"
