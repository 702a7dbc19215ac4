#!/usr/bin/env bash
# Installs what is missing, builds everything, runs every test, then builds
# the whole suite once more with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, runs it there, and runs each fuzzing harness
# briefly from the same build.
set -euo pipefail
cd "$(dirname "$0")"

# Each stage's wall time, printed at the end (and on the way out of a
# failed run), so a slow stage shows itself.
stage_names=()
stage_seconds=()
stage_started=$SECONDS
stage_name=""
stage() {
    if [ -n "$stage_name" ]; then
        stage_names+=("$stage_name")
        stage_seconds+=($((SECONDS - stage_started)))
    fi
    stage_name=$1
    stage_started=$SECONDS
}
report_stages() {
    stage ""
    echo "Stage times:"
    for i in "${!stage_names[@]}"; do
        printf '  %-28s %4d:%02d\n' "${stage_names[$i]}" $((stage_seconds[i] / 60)) $((stage_seconds[i] % 60))
    done
    printf '  %-28s %4d:%02d\n' "total" $((SECONDS / 60)) $((SECONDS % 60))
}
trap report_stages EXIT

stage "install"
./tools/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

# Line tables only (-g1): a crash still names its lines, and the build takes
# half the time that full debugging information costs the test programs.
stage "build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
    -DSIGHT_WERROR=ON
cmake --build build -j"$jobs"
stage "tests"
ctest --test-dir build --output-on-failure -j"$jobs"

# The worked form read back through the real accessibility bus; skipped (77)
# with a note when Xvfb, D-Bus, at-spi2-core or python3-pyatspi is missing.
stage "accessibility bus"
status=0
./tools/atspi-check.sh build || status=$?
[ "$status" -eq 0 ] || [ "$status" -eq 77 ] || exit "$status"

# The web page: the core compiled to WebAssembly into build-web/site/, then
# the browser tests in headless Chromium (puppeteer-core from the lock file),
# which compare the page's forms with build/bin/sightform's.
stage "web build"
web/build.sh -DSIGHT_WERROR=ON
(cd web && npm ci --no-audit --no-fund)
stage "browser tests"
node --test web/tests/

# The same digits in WebAssembly as natively: every form of a reduced grid,
# the table function, TextValue and the number patterns, the WebAssembly
# build (built above) run in Node against build/bin/webproof.
stage "webproof"
tools/webproof/compare.sh build build-web --reduced

# The sanitizer round and the fuzzing share one clang build: every library,
# test program and harness compiled once, unoptimised (clang compiles that
# in half gcc's time), instrumented for both. Each test program runs as one
# test there: a sanitized process is slow to start, and 700 starts cost more
# than the cases themselves. Any sanitizer report aborts the test or harness
# that raised it, so the stage fails.
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_OPTIONS=${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}abort_on_error=1
stage "sanitizer build"
CC=clang CXX=clang++ cmake -S . -B build-clang -DCMAKE_BUILD_TYPE=Debug -DSIGHT_WERROR=ON \
    -DSIGHT_SANITIZE=ON -DSIGHT_FUZZ=ON -DSIGHT_BENCH=OFF -DSIGHT_WHOLE_TEST_PROGRAMS=ON
cmake --build build-clang -j"$jobs" --target all fuzzers
stage "sanitizer tests"
ctest --test-dir build-clang --output-on-failure -j"$jobs"

# A short run of every fuzzing harness, fixed seed, about 20 seconds each, as
# many at once as there are cores (fuzz/run.sh runs them longer).
stage "fuzzing"
fuzz/run.sh build-clang 20
