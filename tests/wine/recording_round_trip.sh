#!/usr/bin/env bash
# The real Tarrowind.asi, in the Windows stand-in host under Wine with RecordSession on, plays
# an hour of the default town from half past eleven at night; the Linux simulator replays the
# recording it wrote: no difference, to the closing record the unload wrote, and the same two
# daily logs (the same bytes but for the line ends each system writes, and the build's name if
# the two builds' names differ).
# Replayed again with blips turned off, the first difference is the first blip the player's
# game was asked to add, at the time the unchanged replay's trace shows it. Replayed through a
# simulator whose bucking watch looks every 1.5 s instead of every second (CHANGED_SIM), the
# first difference is that watch's first wait.
#   recording_round_trip.sh SIM SOURCE_DIR WORKDIR CHANGED_SIM
set -euo pipefail
sim=$1 source_dir=$2 work=$3 changed_sim=$4
source "$(dirname "$0")/wine_env.sh"

rm -rf "$work"
mkdir -p "$work/windows/Tarrowind/logs" "$work/linux"
sed -e 's/^RecordSession=false/RecordSession=true/' -e 's/\r*$/\r/' \
    "${SHIPPED_INI:?the shipped INI of the Linux build}" >"$work/windows/Tarrowind/Tarrowind.ini"

(cd "$work/windows" && wine_run "$WINDOWS_BIN/tarrowind-launcher.exe" --minutes 60 --seed 1 \
    --start 2026-06-01T23:30:00 --quiet) >"$work/launcher.txt"
only_recording "$work/windows" "the DLL wrote"

status=0
"$sim" --replay "$rec" --workdir "$work/linux" --quiet --trace "$work/replay.trace" \
    >"$work/replay.txt" 2>&1 || status=$?
if [ $status != 0 ]; then
    echo "FAIL: the replay exited $status:"
    tail -3 "$work/replay.txt"
    exit 1
elif ! grep -q "to the closing record: no difference" "$work/replay.txt"; then
    echo "FAIL: the replay did not reach the closing record: $(tail -1 "$work/replay.txt")"
    exit 1
elif [ "$(daily_logs "$work/windows" | grep -c '^==== ')" != 2 ]; then
    echo "FAIL: an hour from 23:30 under Wine wrote the logs:" "$(ls "$work/windows/Tarrowind/logs")"
    exit 1
elif ! diff <(daily_logs "$work/windows") <(daily_logs "$work/linux") >"$work/diff.txt"; then
    echo "FAIL: the replayed log differs (< Wine, > replay):"
    head -20 "$work/diff.txt"
    exit 1
fi

first_blip=$(grep -m1 ' BLIP_ADD_FOR_ENTITY(' "$work/replay.trace" | cut -d' ' -f1)
status=0
"$sim" --replay "$rec" --replay-setting '[Blips]EnableBlips=false' --workdir "$work/no-blips" \
    --quiet >"$work/no-blips.txt" 2>"$work/no-blips.err" || status=$?
if [ -z "$first_blip" ]; then
    echo "FAIL: the hour added no blip"
    exit 1
elif [ $status != 1 ] || [ "$(grep -vc '^==[0-9]*==WARNING: ASan' "$work/no-blips.err")" != 1 ]; then
    echo "FAIL: the replay without blips exited $status and said: $(cat "$work/no-blips.err")"
    exit 1
elif ! grep -Eq "first difference at call [0-9]+, $first_blip s: recorded BLIP_ADD_FOR_ENTITY\(" \
    "$work/no-blips.err"; then
    echo "FAIL: the first blip was at $first_blip s; the replay without blips says:" \
        "$(cat "$work/no-blips.err")"
    exit 1
fi
first_bucking_wait=$(awk '/ log INFO Initiating bucking event$/ { found = 1 }
                           found && / wait / { print $1; exit }' "$work/replay.trace")
status=0
"$changed_sim" --replay "$rec" --workdir "$work/changed" --quiet >"$work/changed.txt" \
    2>"$work/changed.err" || status=$?
if [ -z "$first_bucking_wait" ]; then
    echo "FAIL: the hour had no bucking horse"
    exit 1
elif [ $status != 1 ] || ! grep -Eq "first difference at call [0-9]+, $first_bucking_wait s: recorded wait 1000; the plug-in asked wait 1500;" "$work/changed.err"; then
    echo "FAIL: the bucking watch's first wait was at $first_bucking_wait s; the replay through" \
        "the changed encounter exited $status and said: $(cat "$work/changed.err")"
    exit 1
fi
echo "ok: $(stat -c %s "$rec") bytes recorded under Wine in an hour of the town," \
    "$(cat "$work"/linux/Tarrowind/logs/*.log | wc -l) log lines in two daily files replayed alike;" \
    "$(grep '^replayed' "$work/replay.txt"); without blips: $(cut -d: -f3- "$work/no-blips.err" | cut -c1-120)...;" \
    "with the bucking watch changed: $(cut -d: -f3- "$work/changed.err" | cut -c1-100)..."
