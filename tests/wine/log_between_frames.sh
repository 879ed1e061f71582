#!/usr/bin/env bash
# The real Tarrowind.asi under Wine holds no handle on its log while the game runs: the
# launcher moves the day's log away after every frame (as a player may rename or delete it),
# which fails if the file is still open without sharing, and checks that no line reaches a
# file after it was moved. The moved pieces, in order, must hold the lines of an undisturbed
# run of the same frames, timestamps and the game folder's name aside.
#   log_between_frames.sh SCENARIO WORKDIR
set -euo pipefail
scenario=$1 work=$2
source "$(dirname "$0")/wine_env.sh"
launcher="$WINDOWS_BIN/tarrowind-launcher.exe"
frames=5500  # three minutes: start-up and the first robberies, Debug lines on

lines_of() {  # files... -> their lines without timestamps, CRs and the folder's name
    cat "$@" | tr -d '\r' | sed -E 's/^\[[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9:]{8}\] //' |
        sed -E 's/(moved|undisturbed)//g'
}

rm -rf "$work"
mkdir -p "$work/moved" "$work/undisturbed"
fail=0
if ! (cd "$work/moved" && wine_run "$launcher" --scenario "$scenario" --frames "$frames" \
    --move-logs --quiet) >"$work/moved.txt" 2>&1; then
    echo "FAIL: the run with the log moved after every frame:"
    cat "$work/moved.txt"
    fail=1
fi
(cd "$work/undisturbed" && wine_run "$launcher" --scenario "$scenario" --frames "$frames" \
    --quiet) >"$work/undisturbed.txt"

pieces=$(find "$work/moved/Tarrowind/moved" -name '*.log' | wc -l)
left=$(find "$work/moved/Tarrowind/logs" -name '*.log' | wc -l)
lines_of "$work/moved/Tarrowind/moved/"*.log >"$work/moved_lines.txt"
lines_of "$work/undisturbed/Tarrowind/logs/"*.log >"$work/undisturbed_lines.txt"
count=$(wc -l <"$work/undisturbed_lines.txt")
if [ "$left" != 0 ] || [ "$pieces" -lt 10 ]; then
    echo "FAIL: $pieces moved pieces and $left log files left behind"
    fail=1
elif ! diff -u "$work/undisturbed_lines.txt" "$work/moved_lines.txt" >"$work/diff.txt"; then
    echo "FAIL: the moved pieces do not hold the undisturbed run's lines (+ moved pieces):"
    head -40 "$work/diff.txt"
    fail=1
fi
[ $fail = 0 ] && echo "ok: the log moved away after each of $frames frames ($pieces pieces," \
    "$count lines), never written to once moved"
exit $fail
