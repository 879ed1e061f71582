#!/usr/bin/env bash
# The real Tarrowind.asi, in the Windows stand-in host under Wine with RecordSession on, plays
# ten minutes of the default town; the Linux simulator makes a scene of the recording it wrote,
# and the scene runs to its expect block: the same first encounter, at the same moment, on the
# same ped. Measured against the town it was recorded in, the Linux world gives every answer
# the Windows one gave.
#   scene_round_trip.sh SIM SOURCE_DIR WORKDIR
set -euo pipefail
sim=$1 source_dir=$2 work=$3
source "$(dirname "$0")/wine_env.sh"

rm -rf "$work"
mkdir -p "$work/windows/Tarrowind/logs"
sed -e 's/^RecordSession=false/RecordSession=true/' -e 's/\r*$/\r/' \
    "${SHIPPED_INI:?the shipped INI of the Linux build}" >"$work/windows/Tarrowind/Tarrowind.ini"
(cd "$work/windows" && wine_run "$WINDOWS_BIN/tarrowind-launcher.exe" --minutes 10 --seed 29 \
    --quiet) >"$work/launcher.txt"
only_recording "$work/windows" "the DLL wrote"

if ! "$sim" --scene-from "$rec" >"$work/scene.json" 2>"$work/scene.err"; then
    echo "FAIL: --scene-from the Wine recording: $(cat "$work/scene.err")"
    exit 1
fi
status=0
"$sim" --scenario "$work/scene.json" --workdir "$work/linux" --quiet >"$work/scene-run.txt" \
    2>&1 || status=$?
# "Executing <name>" and the first ped it picked, the handle left out, from the daily logs.
first_encounter() {
    awk '/\[INFO\] Executing event[0-9]/ { print; exit }' "$@" | tr -d '\r'
    awk '/\[DEBUG\] Valid [a-z ]+ found [0-9]+ at distance/ { print; exit }' "$@" | tr -d '\r' |
        sed -E 's/found [0-9]+ at/found at/'
}
recorded=$(first_encounter "$work"/windows/Tarrowind/logs/*.log)
staged=$(first_encounter "$work"/linux/Tarrowind/logs/*.log)
if [ $status != 0 ] || ! grep -q "^expectations met: \([1-9][0-9]*\) of \1$" "$work/scene-run.txt"; then
    echo "FAIL: the scene of the Wine recording exited $status: $(tail -3 "$work/scene-run.txt")"
    exit 1
elif [ "$(echo "$recorded" | wc -l)" != 2 ] || [ "$recorded" != "$staged" ]; then
    echo "FAIL: the scene staged \"$staged\" where the Wine recording has \"$recorded\""
    exit 1
fi
status=0
"$sim" --compare-world "$rec" --scenario "$source_dir/scenarios/town.json" >"$work/compare.txt" \
    2>&1 || status=$?
if [ $status != 0 ] || ! grep -q "^no difference: " "$work/compare.txt"; then
    echo "FAIL: the Linux town answers otherwise than the Windows one (status $status):"
    head -20 "$work/compare.txt"
    exit 1
fi
echo "ok: a scene of $(stat -c %s "$work/scene.json") bytes from $(stat -c %s "$rec") bytes" \
    "recorded under Wine; $(grep '^expectations met' "$work/scene-run.txt");" \
    "$(echo "$recorded" | head -1 | cut -d' ' -f3-); $(tail -1 "$work/compare.txt")"
