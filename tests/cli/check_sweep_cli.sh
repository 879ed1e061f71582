#!/usr/bin/env bash
# Sweeps of seeds run as a mod author would run them:
#   check_sweep_cli.sh SIM WORKDIR SOURCE_DIR
# - a town whose "always" holds the longest encounter to 100 s lists exactly the seeds whose
#   own runs go past it, and each listed command reproduces that failure;
# - the same sweep again, one run at a time instead of two, prints the same table;
# - a run killed by a signal is a failing seed and the sweep goes on; a run past the time
#   limit is stopped and is a failing seed too; nothing is left in the temporary folder;
# - bad input is one line and status 2.
set -uo pipefail
sim=$1 work=$2 source=$3
rm -rf "$work"
mkdir -p "$work/tmp"
cd "$work"
export TMPDIR=$work/tmp
fail() {
    echo "FAIL: $*"
    exit 1
}
# The sanitizer build warns about script fibers on standard error; that is not ours.
errors_of() { grep -v '^==[0-9]*==WARNING: ASan' "$1" || true; }

# A real limit that some seeds break: the town, its longest encounter held to 30 s.
sed 's/"longest_encounter_s": {"at_most": 735.2}/"longest_encounter_s": {"at_most": 30}/' \
    "$source/scenarios/town.json" >limited.json
grep -q '"at_most": 30}' limited.json || fail "the town's longest-encounter check was not found"

"$sim" --scenario limited.json --seeds 1-8 --minutes 10 --jobs 2 --summary-json sweep.json \
    --report sweep.html >first.txt 2>first.err
status=$?
[ $status -eq 1 ] || fail "a sweep with failing seeds gave status $status: $(cat first.txt first.err)"
listed=$(sed -n 's/^  seed \([0-9]*\): .*/\1/p' first.txt | tr '\n' ' ')
[ -n "$listed" ] || fail "no failing seed listed: $(cat first.txt)"
grep -q "^runs: 8, failed: $(echo $listed | wc -w)\$" first.txt || fail "wrong counts: $(cat first.txt)"

# Every seed run on its own: those past 100 s are exactly the listed ones.
expected=""
for seed in 1 2 3 4 5 6 7 8; do
    "$sim" --scenario limited.json --seed $seed --minutes 10 --quiet >/dev/null 2>single.err
    if grep -q 'unmet expectation: always.summary.longest_encounter_s: expected at most 30, got' \
        single.err; then
        expected="$expected$seed "
    fi
done
[ "$listed" = "$expected" ] || fail "listed seeds '$listed', but runs of their own broke the limit on '$expected'"
[ "$(echo $listed | wc -w)" -lt 8 ] || fail "every seed broke the limit: nothing tells them apart"

# Each listed command, run as printed, fails as the table says.
while read -r problem && read -r command; do
    problem=${problem#*: }
    eval "$command" --quiet >/dev/null 2>repro.err
    status=$?
    [ $status -eq 1 ] || fail "'$command' gave status $status"
    errors_of repro.err | grep -qxF "tarrowind-sim: unmet expectation: $problem" ||
        fail "'$command' did not reproduce '$problem': $(cat repro.err)"
done < <(sed -n '/^failing seeds: [0-9]/,$p' first.txt | sed -n 's/^  *//p' | grep -v '^wall time')

grep -q '"failures": [1-9]' sweep.json || fail "the JSON has no failures: $(cat sweep.json)"
grep -q '<svg class="histogram"' sweep.html || fail "the page has no histogram"
grep -qF -- "--scenario limited.json --seed ${listed%% *} --minutes 10</code>" sweep.html ||
    fail "the page does not show the first failing seed's command"
! grep -qE 'https?:' sweep.html || fail "the page fetches something"

# The same sweep, one run at a time: the same table.
"$sim" --scenario limited.json --seeds 1-8 --minutes 10 --jobs 1 >second.txt 2>/dev/null
diff <(grep -v '^wall time' first.txt | grep -v '^report:') <(grep -v '^wall time' second.txt) ||
    fail "the same sweep gave another table"

# A run that dies of a signal (seed 2's, killed here as the system would kill a run) fails its
# seed; seed 3 still runs.
"$sim" --scenario "$source/scenarios/empty.json" --seeds 1-3 --minutes 500 --jobs 1 \
    >crash.txt 2>crash.err &
sweep=$!
killed=""
for _ in $(seq 1 3000); do
    for child in $(pgrep -P $sweep); do
        if tr '\0' ' ' <"/proc/$child/cmdline" 2>/dev/null | grep -q -- ' --seed 2 '; then
            kill -KILL "$child" && killed=$child
        fi
    done
    [ -n "$killed" ] && break
    kill -0 $sweep 2>/dev/null || break
    sleep 0.01
done
wait $sweep
status=$?
[ -n "$killed" ] || fail "seed 2's run was not caught running: $(cat crash.txt)"
[ $status -eq 1 ] || fail "a sweep with a crashed run gave status $status"
grep -q '^runs: 3, failed: 1$' crash.txt || fail "the sweep did not go on past the crash: $(cat crash.txt)"
grep -q '^  seed 2: crashed: signal 9 (Killed)$' crash.txt || fail "the crash is not told: $(cat crash.txt)"
grep -q -- "--seed 2 --minutes 500\$" crash.txt || fail "no command for the crashed seed"

# A run past the time limit is stopped, and is a failing seed.
"$sim" --scenario "$source/scenarios/empty.json" --seeds 5-5 --minutes 500000 --time-limit 1 \
    >hung.txt 2>hung.err
status=$?
[ $status -eq 1 ] || fail "a hung run gave status $status"
grep -q '^  seed 5: hung: still running after 1 s of wall time, stopped$' hung.txt ||
    fail "the hung run is not told: $(cat hung.txt)"
[ -z "$(ls -A "$TMPDIR")" ] || fail "the sweeps left $(ls "$TMPDIR") behind"

# Bad input: one line naming the problem, status 2, nothing run.
echo '{"player": {"position": [0, 0, 0]}, "always": {"summary": {"peds_left": 0}}}' >mistake.json
while IFS='|' read -r args message; do
    # shellcheck disable=SC2086
    "$sim" $args >bad.txt 2>bad.err
    status=$?
    said=$(errors_of bad.err)
    [ $status -eq 2 ] || fail "'$args' gave status $status"
    [ "$(echo "$said" | wc -l)" -eq 1 ] && echo "$said" | grep -q -- "$message" ||
        fail "'$args' said: $said"
done <<'CASES'
--seeds 9-2|--seeds takes a range of seeds FIRST-LAST with FIRST no greater than LAST
--seeds 12|--seeds takes a range of seeds FIRST-LAST
--seeds 1-3 --jobs 0|--jobs takes a whole number of runs at a time from 1 to 1024, not '0'
--seeds 1-3 --seed 2|--seed and --seeds do not go together
--seeds 1-3 --scenario nowhere.json|nowhere.json: cannot be read
--seeds 1-3 --scenario mistake.json|mistake.json: always.summary.peds_left: unknown field
--seeds 1-3 --replay session.rec|--replay plays one recorded session: it does not go with --seeds
CASES
echo "ok: failing seeds $listed"
