#!/usr/bin/env bash
# The launcher as a mod author uses it: a short run prints the plug-in's log lines and a
# summary line; --help describes every option; bad arguments, a missing scenario and a missing plug-in each end with status 2
# and one line saying what is wrong.
#   launcher_cli.sh WORKDIR
set -euo pipefail
work=$1
source "$(dirname "$0")/wine_env.sh"
launcher="$WINDOWS_BIN/tarrowind-launcher.exe"

fail=0
problem() {
    echo "FAIL: $*"
    fail=1
}

# Runs the launcher in WORKDIR; sets status, out and err.
run() {
    set +e
    (cd "$work" && "$WINE" "$launcher" "$@" >"$work/out.txt" 2>"$work/err.txt")
    status=$?
    set -e
    out=$(tr -d '\r' <"$work/out.txt")
    err=$(tr -d '\r' <"$work/err.txt")
}

expect_refusal() {  # what it is, expected part of the message, arguments...
    local what=$1 part=$2
    shift 2
    run "$@"
    if [ "$status" != 2 ] || [ "$(wc -l <<<"$err")" != 1 ] ||
        [[ "$err" != "tarrowind-launcher: "*"$part"* ]]; then
        problem "$what: status $status, error '$err'"
    fi
}

rm -rf "$work"
mkdir -p "$work"
run --minutes 3 --seed 5
[ "$status" = 0 ] || problem "a 3-minute run ended with status $status: $err"
grep -q '\[INFO\] Tarrowind script started$' <<<"$out" || problem "no log lines printed: $out"
grep -q '^---- launcher: simulated 3.00 min (5455 frames)' <<<"$out" ||
    problem "no summary line: $(tail -1 <<<"$out")"
ls "$work"/Tarrowind/logs/Tarrowind_*.log >/dev/null 2>&1 || problem "no log file written"

expect_refusal "a bad number" "--minutes takes" --minutes banana
expect_refusal "an unknown option" "not expected: --fast" --fast
expect_refusal "two lengths" "--minutes and --frames" --minutes 3 --frames 100

# Help on standard output, every option with what it takes.
run --help
[ "$status" = 0 ] || problem "--help ended with status $status"
for option in --minutes --frames --seed --scenario --crowd --start --repeat --crash-native \
    --workdir --plugin --move-logs --quiet; do
    grep -q -- "^ *$option" <<<"$out" || problem "--help does not describe $option"
done
expect_refusal "two worlds" "--crowd and --scenario" --crowd 50 --scenario x.json
expect_refusal "a missing scenario" "no-such-scenario.json" --scenario no-such-scenario.json
expect_refusal "a missing plug-in" "cannot load" --plugin no-such-plugin.asi
[ $fail = 0 ] && echo "ok: the launcher runs, prints and refuses as it should"
exit $fail
