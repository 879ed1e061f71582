#!/usr/bin/env bash
# Proves a change of the code changed nothing the game would see: runs the simulator with
# --trace at a base commit and in the working tree, for every shipped scenario and for a
# simulated day of the town on three seeds, and compares the traces byte for byte, and the
# daily log files the runs wrote, names and timestamps included (when BASE's simulator has a
# fixed calendar, --start; before it, log timestamps came from the wall clock).
#   scripts/compare-traces.sh BASE      BASE: a commit, branch or tag (it must have --trace)
# Prints the first difference of each trace that differs; exit status 1 when any does.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

if [ $# -ne 1 ]; then
    echo "usage: scripts/compare-traces.sh BASE" >&2
    exit 2
fi
base=$(git rev-parse --verify "$1^{commit}")

scratch=$(mktemp -d)
cleanup() {
    git worktree remove --force "$scratch/base" >/dev/null 2>&1 || true
    rm -rf "$scratch"
}
trap cleanup EXIT

build_sim() {  # source folder, build folder
    cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=g++ >/dev/null
    cmake --build "$2" --target tarrowind-sim >/dev/null
}

echo "building the simulator at ${base:0:12} and in the working tree"
git worktree add --detach "$scratch/base" "$base" >/dev/null 2>&1
build_sim "$scratch/base" "$scratch/base-build"
cmake --preset linux >/dev/null
cmake --build --preset linux --target tarrowind-sim >/dev/null

# Each case: a name, then the simulator's arguments. Both sides read the working tree's
# scenario files, so only the code differs.
cases=()
for scenario in scenarios/*.json; do
    cases+=("$(basename "$scenario" .json)|--scenario $repo/$scenario")
done
for seed in 1 2 3; do
    cases+=("town-day-seed$seed|--scenario $repo/scenarios/town.json --minutes 1440 --seed $seed")
done

trace() {  # simulator, side, case name, arguments...
    local sim=$1 side=$2 name=$3
    shift 3
    # One working folder for both sides, made afresh: its path is in a log line.
    rm -rf "$scratch/run"
    mkdir -p "$scratch/run"
    "$sim" --workdir "$scratch/run" --quiet --trace "$scratch/$side-$name.trace" "$@" \
        >/dev/null 2>&1 || true  # a run that fails its expectations still traces
    # The version line names the build's commit, which differs by design: keep the version.
    sed -i -E 's/^([0-9.]+ log INFO Tarrowind [0-9.]+) \(.*\)$/\1/' "$scratch/$side-$name.trace"
    # The daily logs, each under its name, the version line's build name left out as above.
    for log in "$scratch"/run/Tarrowind/logs/*.log; do
        [ -f "$log" ] || continue
        echo "==== ${log##*/}"
        sed -E 's/^(\[[^]]*\] \[INFO\] Tarrowind [0-9.]+) \(.*\)$/\1/' "$log"
    done >"$scratch/$side-$name.logs"
}
compare_logs=1
# --help ends with a failure status: under pipefail only grep's answer may count.
if ! { "$scratch/base-build/sim/tarrowind-sim" --help 2>&1 || true; } | grep -q -- "--start"; then
    compare_logs=0
    echo "(the logs are not compared: ${base:0:12}'s simulator reads the wall clock's calendar)"
fi

differing=0
for entry in "${cases[@]}"; do
    name=${entry%%|*}
    read -r -a args <<<"${entry#*|}"
    trace "$scratch/base-build/sim/tarrowind-sim" base "$name" "${args[@]}"
    trace build/linux/sim/tarrowind-sim head "$name" "${args[@]}"
    before="$scratch/base-$name.trace"
    after="$scratch/head-$name.trace"
    if cmp -s "$before" "$after" &&
        { [ $compare_logs = 0 ] || cmp -s "$scratch/base-$name.logs" "$scratch/head-$name.logs"; }; then
        echo "same       $name ($(wc -l <"$after") lines$([ $compare_logs = 0 ] || echo ", $(grep -vc '^==== ' "$scratch/head-$name.logs") log lines"))"
    elif cmp -s "$before" "$after"; then
        differing=1
        echo "DIFFERENT  $name: the same trace, other logs:"
        diff "$scratch/base-$name.logs" "$scratch/head-$name.logs" | head -5 | sed 's/^/    /' || true
    else
        differing=1
        line=$(cmp "$before" "$after" 2>&1 | sed -n 's/.* line \([0-9]*\).*/\1/p' || true)
        echo "DIFFERENT  $name: first difference at line ${line:-?}"
        diff <(sed -n "${line:-1},+4p" "$before") <(sed -n "${line:-1},+4p" "$after") |
            sed 's/^/    /' || true
    fi
    rm -f "$before" "$after" "$scratch/base-$name.logs" "$scratch/head-$name.logs"
done
exit $differing
