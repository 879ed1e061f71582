#!/usr/bin/env bash
# The calendar a simulated run reads: the same seed writes the same files whenever, wherever
# and in whichever time zone it runs; a run across midnight splits its log at midnight into
# two daily files; --start, the scenario's start and the test suite's variable choose the start
# and say what is wrong with a bad one.
#   calendar_cli.sh SIM SOURCE_DIR WORKDIR
set -euo pipefail
sim=$1 source_dir=$2 work=$3
source "$(dirname "$0")/problems.sh"
rm -rf "$work"
mkdir -p "$work"
sed 's/^RecordSession=false/RecordSession=true/' "${SHIPPED_INI:?the shipped INI of the Linux build}" \
    >"$work/recording.ini"

# One run in $work/game (its path is in a log line), kept as $work/NAME afterwards.
run() {  # name, then the simulator's arguments
    local name=$1
    shift
    rm -rf "$work/game"
    mkdir -p "$work/game/Tarrowind/logs"
    cp "$work/recording.ini" "$work/game/Tarrowind/Tarrowind.ini"
    "$sim" --workdir "$work/game" --quiet --trace "$work/game/run.trace" \
        --summary-json "$work/game/summary.json" "$@" >"$work/game/out.txt" 2>"$work/game/err.txt"
    # Wall time is the one figure that measures the machine, not the run.
    sed -i '/"wall_seconds"/d' "$work/game/summary.json"
    mv "$work/game" "$work/$name"
}
# Every file of a run but the console's, by name: what must be the same from one run to
# the next.
files_of() {
    (cd "$1" && find . -type f ! -name out.txt ! -name err.txt | sort)
}

# With nothing said, the calendar starts at the fixed default, not at the machine's time.
unset TARROWIND_SIM_START
TZ=UTC LC_ALL=C run utc --minutes 60 --seed 3
TZ=Pacific/Chatham LC_ALL=C.UTF-8 run chatham --minutes 60 --seed 3
[ -f "$work/utc/Tarrowind/logs/Tarrowind_2026-06-01.log" ] ||
    problem "the default start wrote: $(ls "$work/utc/Tarrowind/logs")"
head -1 "$work/utc/Tarrowind/logs/Tarrowind_2026-06-01.log" | grep -q '^\[2026-06-01 12:00:0[0-9]\] ' ||
    problem "the default start's first line: $(head -1 "$work"/utc/Tarrowind/logs/*.log)"
if [ "$(files_of "$work/utc")" != "$(files_of "$work/chatham")" ]; then
    problem "two time zones wrote other files: $(diff <(files_of "$work/utc") <(files_of "$work/chatham"))"
else
    while read -r file; do
        cmp -s "$work/utc/$file" "$work/chatham/$file" || problem "two time zones wrote $file differently"
    done < <(files_of "$work/utc")
fi

# Across midnight: each day's lines in its own file, split at midnight.
run midnight --minutes 20 --seed 3 --start 2026-06-01T23:50:00
logs="$work/midnight/Tarrowind/logs"
names=$(cd "$logs" && ls Tarrowind_*.log | tr '\n' ' ')
if [ "$names" != "Tarrowind_2026-06-01.log Tarrowind_2026-06-02.log " ]; then
    problem "a run from 23:50 wrote the logs $names"
else
    for day in 2026-06-01 2026-06-02; do
        other=$(grep -Ev "^\[$day [0-9:]{8}\] " "$logs/Tarrowind_$day.log" | grep -E '^\[' | head -1 || true)
        [ -z "$other" ] || problem "Tarrowind_$day.log holds a line of another day: $other"
    done
    last=$(grep -E '^\[' "$logs/Tarrowind_2026-06-01.log" | tail -1 | cut -c2-20)
    first=$(head -1 "$logs/Tarrowind_2026-06-02.log" | cut -c2-20)
    [[ "$last" > "2026-06-01 23:50:00" ]] || problem "the first day ends at $last"
    [[ "$first" < "2026-06-02 00:10:01" ]] || problem "the second day starts at $first"
fi
recs=$(cd "$logs" && ls ./*.rec)
[[ "$recs" =~ ^\./Tarrowind_2026-06-01_2350[0-9]{2}\.rec$ ]] || problem "the recording is named $recs"

# The test suite's variable moves the default start, never a start that is given.
TARROWIND_SIM_START=2026-03-01T23:59:00 run variable --minutes 2 --seed 3
[ -f "$work/variable/Tarrowind/logs/Tarrowind_2026-03-02.log" ] ||
    problem "TARROWIND_SIM_START=2026-03-01T23:59:00 wrote: $(ls "$work/variable/Tarrowind/logs")"
TARROWIND_SIM_START=2026-03-01T23:59:00 run given --minutes 2 --seed 3 --start 2027-01-02T03:04:05
[ -f "$work/given/Tarrowind/logs/Tarrowind_2027-01-02.log" ] ||
    problem "--start lost to the variable: $(ls "$work/given/Tarrowind/logs")"

# Bad starts: one line, status 2.
mkdir -p "$work/bad"
for args in "--start 2026-02-30T12:00:00" "--start 2026-6-1T12:00:00" "--start 2026-06-01T24:00:00" \
    "--start yesterday" "--start 2026-06-01T12:00:00 --replay $work/none.rec"; do
    status=0
    # shellcheck disable=SC2086
    "$sim" --workdir "$work/bad" --quiet --minutes 1 $args >/dev/null 2>"$work/bad.err" || status=$?
    [ $status = 2 ] && [ "$(said "$work/bad.err" | wc -l)" = 1 ] ||
        problem "'$args' exited $status and said: $(cat "$work/bad.err")"
done
status=0
TARROWIND_SIM_START=soon "$sim" --workdir "$work/bad" --quiet --minutes 1 >/dev/null \
    2>"$work/bad.err" || status=$?
[ $status = 2 ] && grep -q "^tarrowind-sim: TARROWIND_SIM_START: .*'soon'" "$work/bad.err" ||
    problem "TARROWIND_SIM_START=soon exited $status and said: $(cat "$work/bad.err")"

[ $fail = 0 ] && echo "ok: the same files in two time zones, a run across midnight in two daily files"
exit $fail
