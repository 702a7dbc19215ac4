#!/usr/bin/env bash
# Runs webproof natively and in Node (the WebAssembly build) over the same
# chunks and compares their lines. Any chunk whose shown hash differs (a
# printed form, an outcome, a table value, a TextValue reading or a number
# pattern) makes the exit status 1, after the first differing item of the
# first such chunk is printed from both builds.
#
#   tools/webproof/compare.sh NATIVE_BUILD WEB_BUILD [--reduced] [--jobs N]
#
# NATIVE_BUILD/bin/webproof and WEB_BUILD/bin/webproof.js must be built.
set -euo pipefail

usage() {
    echo "usage: $0 NATIVE_BUILD WEB_BUILD [--reduced] [--jobs N]" >&2
    exit 64
}
[ $# -ge 2 ] || usage
native_program=$1/bin/webproof
web_program=$2/bin/webproof.js
shift 2
grid=()
jobs=$(nproc)
while [ $# -gt 0 ]; do
    case $1 in
    --reduced) grid=(--reduced) ;;
    --jobs)
        [ $# -ge 2 ] || usage
        jobs=$2
        shift
        ;;
    *) usage ;;
    esac
    shift
done
for program in "$native_program" "$web_program"; do
    [ -f "$program" ] || { echo "$0: $program is not built" >&2; exit 2; }
done
command -v node >/dev/null || { echo "$0: node is not installed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs one build in parts, one process per job; prints the seconds taken.
run_parts() {
    local name=$1
    shift
    local start pids=() part
    start=$(date +%s.%N)
    for ((part = 0; part < jobs; part++)); do
        "$@" "${grid[@]}" --part "$part/$jobs" >"$work/$name.$part" &
        pids+=($!)
    done
    for pid in "${pids[@]}"; do
        wait "$pid" || { echo "$0: the $name build failed" >&2; exit 1; }
    done
    sort -k1,1 -k2,2n "$work/$name".* >"$work/$name"
    awk -v start="$start" -v end="$(date +%s.%N)" 'BEGIN { print end - start }'
}

native_seconds=$(run_parts native "$native_program")
web_seconds=$(run_parts web node "$web_program")

# Lines: kind index items shown-hash raw-hash.
join -j 1 <(awk '{print $1 ":" $2, $3, $4, $5}' "$work/native" | sort) \
    <(awk '{print $1 ":" $2, $3, $4, $5}' "$work/web" | sort) >"$work/joined"
native_chunks=$(wc -l <"$work/native")
web_chunks=$(wc -l <"$work/web")
joined_chunks=$(wc -l <"$work/joined")

awk -v native="$native_seconds" -v web="$web_seconds" -v jobs="$jobs" '
    { split($1, key, ":"); items[key[1]] += $2; chunks++ }
    $2 != $5 || $3 != $6 { shown++; if (first == "") first = $1 }
    $4 != $7 { raw[key[1]]++ }
    END {
        printf "webproof: %d chunks compared:", chunks
        for (kind in items) printf " %s %d,", kind, items[kind]
        printf "\n  native %.1f s, WebAssembly (Node) %.1f s, %d processes each\n", native, web, jobs
        printf "  differing chunks: %d\n", shown
        for (kind in raw)
            printf "  the mathematical library'"'"'s raw results differ in %d %s chunks (not shown to a user)\n", raw[kind], kind
        if (first != "") print first > "/dev/stderr"
    }' "$work/joined" 2>"$work/first"

if [ "$native_chunks" != "$joined_chunks" ] || [ "$web_chunks" != "$joined_chunks" ]; then
    echo "$0: the builds produced different chunks ($native_chunks native, $web_chunks web)" >&2
    exit 1
fi
[ -s "$work/first" ] || exit 0

# The first differing item of the first differing chunk, from both builds.
IFS=: read -r kind index <"$work/first"
"$native_program" "${grid[@]}" --dump "$kind" "$index" >"$work/dump.native"
node "$web_program" "${grid[@]}" --dump "$kind" "$index" >"$work/dump.web"
echo "first difference, in $kind chunk $index:"
# A sight's item starts at its "## sightform ..." line; otherwise each line
# without indent is an item, and the indented lines under it (the library's
# raw results) are shown but not compared.
awk '
    FNR == NR { native[FNR] = $0; n = FNR; next }
    { web[FNR] = $0; w = FNR }
    END {
        sights = native[1] ~ /^## /
        next_item = sights ? "^## " : "^[^ ]"
        for (i = 1; i <= (n > w ? n : w); i++) {
            if (sights ? native[i] ~ /^## / : native[i] !~ /^ /) item = i
            if (native[i] == web[i] || (!sights && native[i] ~ /^ / && web[i] ~ /^ /)) continue
            print "native:"
            for (j = item; j <= n && (j == item || native[j] !~ next_item); j++) print "  " native[j]
            print "WebAssembly:"
            for (j = item; j <= w && (j == item || web[j] !~ next_item); j++) print "  " web[j]
            exit
        }
    }' "$work/dump.native" "$work/dump.web"
exit 1
