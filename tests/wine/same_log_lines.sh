#!/usr/bin/env bash
# The same world and seed, run by the Linux simulator and by the real Tarrowind.asi under Wine
# (loaded by the launcher into the Windows stand-in host), must write the same daily log files
# with the same lines, timestamps included: both read the simulated calendar. Line ends, the
# game folder's own path and the build's name on the version line aside (a commit made since
# the Linux build renames only the Windows one; the DLL's line must give its own build's
# name). A scenario with a file SCENARIO.log-lines beside it (SCENARIO without .json) names
# lines both logs must hold.
#   same_log_lines.sh SIM WORKDIR MINUTES RUN...
# where each RUN is a seed, SEED:SCENARIO for a scenario file, or SEED@START for a run whose
# calendar starts at START (YYYY-MM-DDTHH:MM:SS); a start within MINUTES of midnight must
# write two daily files on both sides.
set -euo pipefail
sim=$1 work=$2 minutes=$3
shift 3
source "$(dirname "$0")/wine_env.sh"

# The daily logs as daily_logs gives them, the game folder's path (as Linux or Wine's Z: drive
# shows it) written GAME and the separators after it as '/'.
log_lines() {
    local unix
    unix=$(cd "$1" && pwd -P)
    daily_logs "$1" |
        UNIX="$unix" WIN="Z:${unix//\//\\}" awk '{
            for (i = 1; i <= 2; i++) {
                folder = ENVIRON[i == 1 ? "UNIX" : "WIN"]
                at = index($0, folder)
                if (at) {
                    rest = substr($0, at + length(folder))
                    gsub(/\\/, "/", rest)
                    $0 = substr($0, 1, at - 1) "GAME" rest
                }
            }
            print
        }'
}

fail=0
for run in "$@"; do
    seed=${run%%[:@]*}
    scenario_args=()
    start_args=()
    expected=
    if [ "$run" != "${run#*@}" ]; then
        start_args=(--start "${run#*@}")
    elif [ "$run" != "$seed" ]; then
        scenario_args=(--scenario "${run#*:}")
        expected="${run#*:}"
        expected="${expected%.json}.log-lines"
        [ -f "$expected" ] || expected=
    fi
    name="seed $seed${scenario_args[1]:+, scenario ${scenario_args[1]##*/}}${start_args[1]:+, from ${start_args[1]}}"
    linux="$work/linux-${run//[^A-Za-z0-9]/_}"
    windows="$work/windows-${run//[^A-Za-z0-9]/_}"
    rm -rf "$linux" "$windows"
    mkdir -p "$linux" "$windows"

    "$sim" --workdir "$linux" --minutes "$minutes" --seed "$seed" "${scenario_args[@]}" "${start_args[@]}" \
        --summary-json "$linux/summary.json" --quiet >"$linux/sim.txt"
    # The simulator may run on to finish an encounter; the launcher runs the same frames.
    frames=$(sed -n 's/^ *"frames": \([0-9]*\).*/\1/p' "$linux/summary.json")
    (cd "$windows" && wine_run "$WINDOWS_BIN/tarrowind-launcher.exe" --frames "$frames" \
        --seed "$seed" "${scenario_args[@]}" "${start_args[@]}" --quiet) >"$windows/launcher.txt"

    log_lines "$linux" >"$linux/lines.txt"
    log_lines "$windows" >"$windows/lines.txt"
    count=$(grep -vc '^==== ' "$linux/lines.txt")
    days=$(grep -c '^==== ' "$linux/lines.txt")
    crosses_midnight=0
    if [ ${#start_args[@]} != 0 ]; then
        start_minute=$((10#${start_args[1]:11:2} * 60 + 10#${start_args[1]:14:2}))
        [ $((start_minute + minutes)) -lt 1440 ] || crosses_midnight=1
    fi
    if ! grep -q "($frames frames)" "$windows/launcher.txt"; then
        echo "FAIL ($name): the launcher did not run $frames frames:"
        cat "$windows/launcher.txt"
        fail=1
    elif ! grep -Eqx "\[[0-9 :-]{19}\] \[INFO\] Tarrowind script started" "$linux/lines.txt"; then
        echo "FAIL ($name): the simulator's log has no start-up lines"
        fail=1
    elif ! cat "$windows"/Tarrowind/logs/*.log | tr -d '\r' | sed 's/^\[[^]]*\] //' |
        grep -xF "[INFO] Tarrowind $(windows_build_name)" >/dev/null; then
        echo "FAIL ($name): the DLL's version line does not give its build's name" \
             "'$(windows_build_name)'"
        fail=1
    elif [ $crosses_midnight = 1 ] && [ "$days" != 2 ]; then
        echo "FAIL ($name): a run across midnight wrote $days daily logs:"
        grep '^==== ' "$linux/lines.txt"
        fail=1
    elif ! diff -u "$linux/lines.txt" "$windows/lines.txt" >"$work/diff.txt"; then
        echo "FAIL ($name): the log lines differ (- Linux simulator, + Tarrowind.asi under Wine):"
        head -60 "$work/diff.txt"
        fail=1
    elif [ -n "$expected" ] &&
        missing=$(grep -Fxvf <(sed -E 's/^\[[0-9 :-]{19}\] //' "$windows/lines.txt") "$expected"); then
        echo "FAIL ($name): both logs lack these lines of ${expected##*/}:"
        echo "$missing"
        fail=1
    else
        held=${expected:+, holding every line of ${expected##*/}}
        echo "ok ($name): $count identical log lines in $days daily files over $frames frames$held;" \
             "$(sed -n 's/^---- launcher: //p' "$windows/launcher.txt")"
    fi
done
exit $fail
