#!/usr/bin/env bash
# The reduction's speed natively and in Node (the WebAssembly build), the
# same loops in both, one after the other; then the ratios, and the sizes of
# the WebAssembly modules: webproof's, and the page's core when it is built.
#
#   tools/webproof/speed.sh NATIVE_BUILD WEB_BUILD [SECONDS]
set -euo pipefail

[ $# -ge 2 ] || { echo "usage: $0 NATIVE_BUILD WEB_BUILD [SECONDS]" >&2; exit 64; }
native_program=$1/bin/webproof
web_program=$2/bin/webproof.js
seconds=${3:-5}
for program in "$native_program" "$web_program"; do
    [ -f "$program" ] || { echo "$0: $program is not built" >&2; exit 2; }
done

native=$("$native_program" --speed "$seconds")
web=$(node "$web_program" --speed "$seconds")
awk -v native="$native" -v web="$web" 'BEGIN {
    n = split(native, a, "\n"); split(web, b, "\n")
    printf "%-22s %14s %14s %8s\n", "", "native", "WebAssembly", "ratio"
    for (i = 1; i <= n; i++) {
        split(a[i], x, " "); split(b[i], y, " ")
        printf "%-22s %14d %14d %8.2f\n", x[1], x[2], y[2], y[2] / x[2]
    }
}'
for wasm in "${web_program%.js}.wasm" "$2/site/sightcore.wasm"; do
    [ -f "$wasm" ] || continue
    echo "$(basename "$wasm"): $(stat -c %s "$wasm") bytes, $(gzip -9 -c "$wasm" | wc -c) gzip -9 bytes"
done
