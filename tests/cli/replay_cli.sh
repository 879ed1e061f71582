#!/usr/bin/env bash
# tarrowind-sim --replay as a mod author uses it: an hour of the town recorded with
# RecordSession on, from half past eleven at night, replays with no difference and the same
# two daily logs, byte for byte, and a trace like the recorded run's; a cut recording replays and says where it ended; anything that is
# not a recording gets one line and exit status 2.
#   replay_cli.sh SIM SOURCE_DIR WORKDIR
set -euo pipefail
sim=$1 source_dir=$2 work=$3
source "$(dirname "$0")/problems.sh"
rm -rf "$work"
mkdir -p "$work/game/Tarrowind" "$work/replay"
sed 's/^RecordSession=false/RecordSession=true/' "${SHIPPED_INI:?the shipped INI of the Linux build}" \
    >"$work/game/Tarrowind/Tarrowind.ini"

"$sim" --workdir "$work/game" --minutes 60 --start 2026-06-01T23:30:00 --quiet \
    --trace "$work/recorded.trace" >/dev/null
recordings=("$work"/game/Tarrowind/logs/*.rec)
[ ${#recordings[@]} = 1 ] || problem "one hour made ${#recordings[@]} recordings"
rec=${recordings[0]}
size=$(stat -c %s "$rec")
[ "$size" -le 1048576 ] || problem "an hour of the town took $size bytes, more than 1 MB"

status=0
"$sim" --replay "$rec" --workdir "$work/replay" --quiet --trace "$work/replayed.trace" \
    >"$work/replay.out" 2>"$work/replay.err" || status=$?
[ $status = 0 ] || problem "the replay exited $status: $(cat "$work/replay.err")"
grep -q "to the closing record: no difference" "$work/replay.out" ||
    problem "the replay does not say it reached the closing record: $(tail -1 "$work/replay.out")"
# Each day's file, by name: the replay keeps the recorded calendar.
logs_of() {
    (cd "$1/Tarrowind/logs" && ls ./*.log)
}
[ "$(logs_of "$work/game" | tr '\n' ' ')" = "./Tarrowind_2026-06-01.log ./Tarrowind_2026-06-02.log " ] ||
    problem "an hour from 23:30 wrote the logs $(logs_of "$work/game" | tr '\n' ' ')"
[ "$(logs_of "$work/game")" = "$(logs_of "$work/replay")" ] ||
    problem "the replay wrote the logs $(logs_of "$work/replay" | tr '\n' ' ')"
for log in $(logs_of "$work/game"); do
    cmp -s "$work/game/Tarrowind/logs/$log" "$work/replay/Tarrowind/logs/$log" ||
        problem "the replayed $log differs from the recorded one"
done
cmp -s "$work/recorded.trace" "$work/replayed.trace" ||
    problem "the replay's trace differs from the recorded run's: $(diff "$work/recorded.trace" \
        "$work/replayed.trace" | head -3)"
[ -z "$(ls "$work"/replay/Tarrowind/logs/*.rec 2>/dev/null)" ] ||
    problem "the replay wrote a recording of its own"

# Cut mid-record: replays to its last whole record and says where it ended.
head -c $((size / 2)) "$rec" >"$work/cut.rec"
rm -rf "$work/replay-cut"
status=0
"$sim" --replay "$work/cut.rec" --workdir "$work/replay-cut" --quiet >"$work/cut.out" \
    2>&1 || status=$?
[ $status = 0 ] || problem "a cut recording's replay exited $status"
# (The half may fall between two records: then it ends after its last whole record.)
grep -Eq "no difference; the recording (cut in the middle of a record at byte [0-9]+ of $((size / 2))|ends after its last whole record, at byte $((size / 2)),)" \
    "$work/cut.out" || problem "a cut recording's replay says: $(tail -1 "$work/cut.out")"

# Foreign files: one line on standard error, exit status 2.
printf 'TWRECRD\n\003' >"$work/newer.rec"
: >"$work/empty.rec"
for foreign in "$work/empty.rec" "$work/newer.rec" "$work/game/Tarrowind/Tarrowind.ini" \
    "$work/missing.rec"; do
    status=0
    "$sim" --replay "$foreign" --workdir "$work/replay-foreign" --quiet >/dev/null \
        2>"$work/foreign.err" || status=$?
    [ $status = 2 ] || problem "replaying $foreign exited $status, not 2"
    [ "$(said "$work/foreign.err" | wc -l)" = 1 ] ||
        problem "replaying $foreign said: $(cat "$work/foreign.err")"
done
grep -q "format version 3; this simulator reads versions 1 to 2" <(
    "$sim" --replay "$work/newer.rec" --workdir "$work/replay-foreign" 2>&1 || true) ||
    problem "a newer format is not named as such"

# The same session with other settings: the first difference, exit status 1, one line.
status=0
"$sim" --replay "$rec" --replay-setting '[Blips]EnableBlips=false' --workdir "$work/no-blips" \
    --quiet >/dev/null 2>"$work/no-blips.err" || status=$?
[ $status = 1 ] && [ "$(said "$work/no-blips.err" | wc -l)" = 1 ] &&
    grep -q "^tarrowind-sim: replay: first difference at call [0-9]*, [0-9.]* s: recorded BLIP_ADD_FOR_ENTITY(" \
        "$work/no-blips.err" ||
    problem "replaying without blips exited $status and said: $(cat "$work/no-blips.err")"
for bad in "EnableBlips=false" "[Blips]=false" "[Blips]EnableBlips"; do
    status=0
    "$sim" --replay "$rec" --replay-setting "$bad" --workdir "$work/bad" >/dev/null 2>&1 ||
        status=$?
    [ $status = 2 ] || problem "--replay-setting '$bad' exited $status, not 2"
done

# A crash inside a native: the run dies of it; its recording replays to the crash and names it.
mkdir -p "$work/crash/Tarrowind"
cp "$work/game/Tarrowind/Tarrowind.ini" "$work/crash/Tarrowind/"
status=0
"$sim" --workdir "$work/crash" --minutes 60 --quiet --crash-native GET_PED_NEARBY_PEDS:2 \
    >/dev/null 2>&1 || status=$?
[ $status != 0 ] || problem "a run with a crashing native did not die of it"
status=0
"$sim" --replay "$work"/crash/Tarrowind/logs/*.rec --workdir "$work/replay-crash" --quiet \
    >"$work/crash.out" 2>&1 || status=$?
[ $status = 0 ] && grep -q "to the crash: no difference" "$work/crash.out" &&
    grep -Eq "^the session crashed at call [0-9]+, [0-9.]+ s: access violation \(0xC0000005\) inside the native GET_PED_NEARBY_PEDS \(the plug-in asked GET_PED_NEARBY_PEDS\(.*; last log line: \[" \
        "$work/crash.out" ||
    problem "the crashed recording's replay exited $status and said: $(tail -2 "$work/crash.out")"
for bad in "EXPLODE_PED" "GET_PED_NEARBY_PEDS:0" "GET_PED_NEARBY_PEDS:x" "PLAYER_ID:"; do
    status=0
    "$sim" --workdir "$work/bad" --minutes 1 --crash-native "$bad" >/dev/null 2>"$work/bad.err" ||
        status=$?
    [ $status = 2 ] && [ "$(said "$work/bad.err" | wc -l)" = 1 ] ||
        problem "--crash-native '$bad' exited $status and said: $(cat "$work/bad.err")"
done

[ $fail = 0 ] && echo "ok: an hour of the town across midnight in a $size-byte recording, replayed with the same two logs and trace"
exit $fail
