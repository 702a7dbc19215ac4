#!/usr/bin/env bash
# Installs what is missing, builds everything, runs every test, then builds
# the whole suite once more with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, runs it there, and runs each fuzzing harness
# briefly from the same build.
#
# Much of the run waits (on the browser, on npm): the sanitizer build runs
# beside the stages from the tests to the browser tests, niced so that the
# stage in front is served first. The background work's output goes to a
# log, printed when it fails.
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
        printf '  %-44s %4d:%02d\n' "${stage_names[$i]}" $((stage_seconds[i] / 60)) $((stage_seconds[i] % 60))
    done
    printf '  %-44s %4d:%02d\n' "total" $((SECONDS / 60)) $((SECONDS % 60))
}

# Work started beside a stage, niced, in a process group of its own (so a
# failed run stops all of it), its output in a log; and a wait that prints
# the log and fails the run when the work failed.
background_pids=()
beside() {
    local log=$1
    shift
    setsid nice -n 10 "$@" >"$log" 2>&1 &
    background_pids+=($!)
}
await() {
    local pid=$1 log=$2 what=$3
    if ! wait "$pid"; then
        echo "$what failed; the end of its log ($log):" >&2
        tail -n 80 "$log" >&2
        exit 1
    fi
}
on_exit() {
    for pid in "${background_pids[@]}"; do
        kill -- -"$pid" 2>/dev/null || true
    done
    report_stages
}
trap on_exit EXIT

stage "install"
./tools/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

# Line tables only (-g1): a crash still names its lines, and full debugging
# information more than doubles what a test file takes to compile (26 s
# against 12 s for the largest). Each test program's files compile in
# batches (SIGHT_UNITY_TESTS).
stage "build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
    -DSIGHT_WERROR=ON -DSIGHT_UNITY_TESTS=ON
cmake --build build -j"$jobs"

# The sanitizer round and the fuzzing share one clang build: every library,
# test program and harness compiled once, unoptimised (clang compiles that
# in half gcc's time), instrumented for both. Each test program runs as one
# test there: a sanitized process is slow to start, and 700 starts cost more
# than the cases themselves. Any sanitizer report aborts the test or harness
# that raised it, so the stage fails.
CC=clang CXX=clang++ cmake -S . -B build-clang -DCMAKE_BUILD_TYPE=Debug -DSIGHT_WERROR=ON \
    -DSIGHT_SANITIZE=ON -DSIGHT_FUZZ=ON -DSIGHT_BENCH=OFF -DSIGHT_WHOLE_TEST_PROGRAMS=ON \
    -DSIGHT_UNITY_TESTS=ON
# It builds from here on, beside the stages that leave a core idle part of
# the time (the tests' last programs, npm, the browser tests).
beside build-clang/build.log cmake --build build-clang -j"$jobs" --target all fuzzers
build_pid=${background_pids[-1]}

stage "tests"
ctest --test-dir build --output-on-failure -j"$jobs"

# The worked form read back through the real accessibility bus; skipped (77)
# with a note when Xvfb, D-Bus, at-spi2-core or python3-pyatspi is missing.
stage "accessibility bus"
status=0
./tools/atspi-check.sh build || status=$?
[ "$status" -eq 0 ] || [ "$status" -eq 77 ] || exit "$status"

# The web page: the core compiled to WebAssembly into build-web/site/, while
# npm installs puppeteer-core from the lock file for the browser tests.
stage "web build"
beside build/npm-ci.log sh -c 'cd web && exec npm ci --no-audit --no-fund'
npm_pid=${background_pids[-1]}
web/build.sh -DSIGHT_WERROR=ON
await "$npm_pid" build/npm-ci.log "npm ci"

# The same digits in WebAssembly as natively: every form of a reduced grid,
# the table function, TextValue and the number patterns, the WebAssembly
# build (built above) run in Node against build/bin/webproof.
stage "webproof"
tools/webproof/compare.sh build build-web --reduced

# The browser tests in headless Chromium, which compare the page's forms
# with build/bin/sightform's.
stage "browser tests"
node --test web/tests/
stage "the rest of the sanitizer build"
await "$build_pid" build-clang/build.log "the sanitizer build"

# The sanitized suite, then every fuzzing harness for about 20 seconds with
# a fixed seed, as many at once as there are cores (fuzz/run.sh runs them
# longer). Fuzzing runs for a set time, so beside the suite it would only
# take the suite's cores.
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_OPTIONS=${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}abort_on_error=1
stage "sanitizer tests"
ctest --test-dir build-clang --output-on-failure -j"$jobs"
stage "fuzzing"
fuzz/run.sh build-clang 20
