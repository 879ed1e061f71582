#!/usr/bin/env bash
# The real Tarrowind.asi under Wine with RecordSession on, and a native made to crash (an
# access violation inside GET_PED_NEARBY_PEDS, the second scan of the town's hour: in the
# middle of an encounter's first frame): the process dies as it would have, without its
# summary or the plug-in's unload, and the recording it leaves ends in a crashed record. The
# Linux simulator replays it with no difference up to the crash, names the native it came from
# at the call and time the unchanged replay's trace shows it, and writes the same log.
#   crash_round_trip.sh SIM SOURCE_DIR WORKDIR
set -euo pipefail
sim=$1 source_dir=$2 work=$3
source "$(dirname "$0")/wine_env.sh"

rm -rf "$work"
mkdir -p "$work/windows/Tarrowind/logs" "$work/linux"
sed -e 's/^RecordSession=false/RecordSession=true/' -e 's/\r*$/\r/' \
    "${SHIPPED_INI:?the shipped INI of the Linux build}" >"$work/windows/Tarrowind/Tarrowind.ini"

died=0
(cd "$work/windows" && wine_run "$WINDOWS_BIN/tarrowind-launcher.exe" --minutes 60 --seed 1 \
    --quiet --crash-native GET_PED_NEARBY_PEDS:2) >"$work/launcher.txt" 2>"$work/launcher.err" ||
    died=$?
# Died of the fault: no summary, and a failure status or, where Wine's crash handling ends the
# process with status 0 (a fresh prefix starts its debugger), Wine's own word for the fault.
if grep -q '^---- launcher:' "$work/launcher.txt" ||
    { [ $died = 0 ] && ! grep -q '^wine: Unhandled page fault' "$work/launcher.err"; }; then
    echo "FAIL: the launcher did not die of the crash (status $died):"
    tail -3 "$work/launcher.txt" "$work/launcher.err"
    exit 1
fi
only_recording "$work/windows" "the crashed session left"

status=0
"$sim" --replay "$rec" --workdir "$work/linux" --quiet --trace "$work/replay.trace" \
    >"$work/replay.txt" 2>&1 || status=$?
# The trace's last native call is the last one the game answered; the crashing scan follows.
last_answered=$(grep -E '^[0-9.]+ [A-Z_0-9]+\(' "$work/replay.trace" | tail -1 | cut -d' ' -f1)
if [ $status != 0 ]; then
    echo "FAIL: the replay exited $status:"
    tail -3 "$work/replay.txt"
    exit 1
elif ! grep -q "to the crash: no difference" "$work/replay.txt"; then
    echo "FAIL: the replay did not reach the crash: $(tail -1 "$work/replay.txt")"
    exit 1
elif ! grep -Eq "^the session crashed at call [0-9]+, $last_answered s: access violation \(0xC0000005\) inside the native GET_PED_NEARBY_PEDS \(the plug-in asked GET_PED_NEARBY_PEDS\(" \
    "$work/replay.txt"; then
    echo "FAIL: the crash is not named at $last_answered s: $(tail -1 "$work/replay.txt")"
    exit 1
elif [ "$(grep -c ' GET_PED_NEARBY_PEDS(' "$work/replay.trace")" != 1 ]; then
    echo "FAIL: the replay answered $(grep -c ' GET_PED_NEARBY_PEDS(' "$work/replay.trace")" \
        "scans before the crashing one, not 1"
    exit 1
elif ! diff <(daily_logs "$work/windows") <(daily_logs "$work/linux") >"$work/diff.txt"; then
    echo "FAIL: the replayed log differs (< Wine, > replay):"
    head -20 "$work/diff.txt"
    exit 1
fi
echo "ok: the launcher died (status $died), leaving $(stat -c %s "$rec") bytes of recording;" \
    "$(grep '^the session crashed' "$work/replay.txt" | cut -c1-160)..."
