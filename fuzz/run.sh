#!/usr/bin/env bash
# Runs every fuzzing harness built in BUILD_DIR for SECONDS each, with a fixed
# seed, starting from its seed corpus in fuzz/corpus/<name>/ (which it does
# not change: new inputs go to a scratch directory). Any crash, sanitizer
# report or broken invariant stops the run; the input that caused it is kept
# as BUILD_DIR/<name>-crash-... and the script exits non-zero.
#
#   fuzz/run.sh [BUILD_DIR [SECONDS [libFuzzer options...]]]
#   FUZZ_PARALLEL=1 fuzz/run.sh build-fuzz 3600 -seed=0 -jobs=2   # a longer run
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-fuzz}
seconds=${2:-20}
shift $(( $# < 2 ? $# : 2 ))
options=("$@")
[ ${#options[@]} -gt 0 ] || options=(-seed=1)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

shopt -s nullglob
harnesses=("$build"/bin/fuzz_*)
if [ ${#harnesses[@]} -eq 0 ]; then
    echo "fuzz/run.sh: no harnesses in $build/bin (build the target 'fuzzers')" >&2
    exit 1
fi

# One harness a core at a time (FUZZ_PARALLEL sets how many run together):
# each is a single process, so on two cores two together take the time of one.
parallel=${FUZZ_PARALLEL:-$(nproc)}

# Runs one harness; its report goes to SCRATCH/NAME.report, and the file
# SCRATCH/NAME.failed marks a finding.
fuzz_one() {
    local harness=$1 name log
    name=$(basename "$harness")
    name=${name#fuzz_}
    mkdir -p "$scratch/$name"
    log="$build/fuzz-$name.log"
    if "$harness" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/$name-" "${options[@]}" \
        "$scratch/$name" "fuzz/corpus/$name" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz $name: ${runs:-?} executions in ${seconds} s, no findings" >"$scratch/$name.report"
    else
        { echo "fuzz $name: FAILED (full log in $log)"; grep -v '^#' "$log" | tail -n 40; } \
            >"$scratch/$name.report"
        touch "$scratch/$name.failed"
    fi
}

for harness in "${harnesses[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do
        wait -n || true
    done
    fuzz_one "$harness" &
done
wait

status=0
for harness in "${harnesses[@]}"; do
    name=$(basename "$harness")
    name=${name#fuzz_}
    cat "$scratch/$name.report"
    [ ! -e "$scratch/$name.failed" ] || status=1
done
exit $status
