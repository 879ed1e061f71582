#!/usr/bin/env bash
# A sweep run as commands on other machines and merged back, as a mod author runs it:
#   sweep_merge_cli.sh SIM WORKDIR SOURCE_DIR
# - the printed commands of seeds 1-16, run through xargs -P 2, through GNU parallel and as
#   four shards, merge into the local sweep's table, byte for byte, failing seeds included;
# - a result missing, one given twice, one from another scenario, one from another build and
#   one cut in half are each named in one line, the table made from the rest, status 1;
# - bad input is one line and status 2.
set -uo pipefail
sim=$1 work=$2 source=$3
source "$source/tests/cli/problems.sh"
command -v parallel >/dev/null || problem "GNU parallel is missing: scripts/install-deps.sh installs it"
rm -rf "$work"
mkdir -p "$work/tmp"
cd "$work" || exit 1
export TMPDIR=$work/tmp

# The town with its longest encounter held to 30 s: some seeds of ten minutes break it.
sed 's/"longest_encounter_s": {"at_most": 735.2}/"longest_encounter_s": {"at_most": 30}/' \
    "$source/scenarios/town.json" >limited.json
sweep=(--scenario limited.json --seeds 1-16 --minutes 10)
table_of() { grep -v -e '^wall time' -e '^report:' "$1"; }

"$sim" "${sweep[@]}" --jobs 2 >local.txt 2>local.err
status=$?
[ $status = 1 ] || problem "the local sweep gave status $status: $(cat local.err)"
failing=$(sed -n 's/^  seed \([0-9]*\): .*/\1/p' local.txt | wc -l)
[ "$failing" -gt 0 ] && [ "$failing" -lt 16 ] ||
    problem "$failing failing seeds: nothing to tell a merge's table from another"

# merged NAME ARGS...: merges, and compares the table with the local sweep's.
merged() {
    local name=$1
    shift
    "$sim" --merge "$@" >"$name.txt" 2>"$name.err"
    local got=$?
    [ $got = 1 ] || problem "$name: the merge gave status $got, not the local sweep's 1"
    [ -z "$(said "$name.err")" ] || problem "$name: the merge said: $(cat "$name.err")"
    diff <(table_of local.txt) "$name.txt" >"$name.diff" ||
        problem "$name: the merged table is not the local sweep's: $(cat "$name.diff")"
}

"$sim" "${sweep[@]}" --print-commands --results by-xargs >commands.txt
[ "$(wc -l <commands.txt)" = 16 ] || problem "$(wc -l <commands.txt) commands printed for 16 seeds"
xargs -d "\n" -n 1 -P 2 sh -c <commands.txt >/dev/null 2>&1
merged xargs by-xargs

"$sim" "${sweep[@]}" --print-commands --results by-parallel | parallel --will-cite -j 2 >/dev/null 2>&1
merged parallel by-parallel/seed-*.json

for shard in 1 2 3 4; do
    "$sim" "${sweep[@]}" --print-commands --shard $shard/4 --results by-shards >"shard-$shard.txt"
done
[ "$(sort shard-*.txt)" = "$(sed 's/by-xargs/by-shards/g' commands.txt | sort)" ] ||
    problem "the four shards are not the sweep's commands, each once"
for shard in 1 2 3 4; do
    sh "shard-$shard.txt" >/dev/null 2>&1
done
merged shards by-shards

# Damaged input: seed 3 missing, seed 5 given twice, seed 7 from another scenario, seed 11
# from another build, seed 9 cut in half.
cp -r by-xargs damaged
rm damaged/seed-3.json
cp damaged/seed-5.json damaged/copy-of-5.json
sed 's/"longest_encounter_s": {"at_most": 30}/"longest_encounter_s": {"at_most": 31}/' \
    limited.json >other.json
"$sim" --scenario other.json --seed 7 --minutes 10 --in-sweep 1-16 --isolated --quiet \
    --summary-json damaged/seed-7.json >/dev/null 2>&1
sed -i 's/"build": "\([^"]*\)"/"build": "\1 (an older one)"/' damaged/seed-11.json
head -c $(($(wc -c <damaged/seed-9.json) / 2)) by-xargs/seed-9.json >damaged/seed-9.json
"$sim" --merge damaged --summary-json damaged.json --report damaged.html >damaged.txt 2>damaged.err
status=$?
[ $status = 1 ] || problem "damaged results gave status $status: $(cat damaged.err)"
sed -i '/^report: /d' damaged.txt
grep -q '"runs": 12,' damaged.json && grep -q '"seed 3: no result"' damaged.json ||
    problem "the merge's JSON lacks its runs or notes: $(head -c 300 damaged.json)"
grep -q '<svg class="histogram"' damaged.html || problem "the merge's page has no histogram"
expected_notes=(
    "damaged/seed-5.json: seed 5 again (first in damaged/copy-of-5.json, the same run); the first is kept"
    "damaged/seed-11.json: seed 11 is from another run (build "
    "damaged/seed-7.json: seed 7 is from another run (scenario other.json, not limited.json); left out"
    "damaged/seed-9.json: damaged: not whole JSON (cut short?); seed 9 has no result"
    "seed 3: no result"
)
for note in "${expected_notes[@]}"; do
    grep -qF "tarrowind-sim: merge: $note" damaged.err || problem "not said: '$note': $(cat damaged.err)"
done
[ "$(said damaged.err | wc -l)" = ${#expected_notes[@]} ] ||
    problem "the damaged results gave other notes: $(cat damaged.err)"
grep -q '^runs: 12, failed: ' damaged.txt || problem "the rest are not 12 runs: $(head -3 damaged.txt)"
# The failing seeds of the rest are the local sweep's, less those left out.
diff <(sed -n '/^failing seeds: [0-9]/,$p' local.txt | grep -v '^wall time' | tail -n +2 |
    paste - - | grep -v -e '^  seed 3:' -e '^  seed 7:' -e '^  seed 9:' -e '^  seed 11:') \
    <(sed -n '/^failing seeds: [0-9]/,$p' damaged.txt | tail -n +2 | paste - -) ||
    problem "the failing seeds of the rest are not the local sweep's"

# Bad input: one line, status 2.
echo '{"not": "a result"}' >stray.json
for args in "--merge nowhere.json" "--merge stray.json" "--merge by-xargs --seeds 1-3" \
    "--seeds 1-3 --print-commands --jobs 2" "--print-commands --seeds 1-3 --shard 5/4"; do
    # shellcheck disable=SC2086
    "$sim" $args >bad.txt 2>bad.err
    status=$?
    [ $status = 2 ] && [ "$(said bad.err | wc -l)" = 1 ] ||
        problem "'$args' gave status $status and said: $(cat bad.err)"
done
[ -z "$(ls -A "$TMPDIR")" ] || problem "the runs left $(ls "$TMPDIR") behind"
[ $fail = 0 ] && echo "ok: $failing failing seeds, the same table merged every way"
exit $fail
