#!/usr/bin/env bash
# Scenes from recordings of simulated runs:
# - ten minutes of the town recorded with the shipped INI: the scene made from the recording,
#   run with the seed it carries, stages the first encounter at the same moment on the same
#   ped (the same distance) and meets its expect block; measured against the town it was
#   recorded in, the world answers as it did;
# - a scripted scene (tests/scene/scripted_scene.json, nothing left to chance): the world
#   re-staged from its recording gives every answer the recording holds; a world whose scan
#   reaches 10 m less (WORLD_CHANGED_SIM) differs under GET_PED_NEARBY_PEDS in every scan that
#   listed the townsman 50 m off, and nowhere else;
# - a foreign or damaged file, a moment the recording lacks: one line, exit status 2.
#   scene_cli.sh SIM WORLD_CHANGED_SIM SOURCE_DIR WORKDIR
set -euo pipefail
sim=$1 changed_sim=$2 source_dir=$3 work=$4
source "$(dirname "$0")/problems.sh"
rm -rf "$work"
mkdir -p "$work/town/Tarrowind"
sed 's/^RecordSession=false/RecordSession=true/' "${SHIPPED_INI:?the shipped INI of the Linux build}" \
    >"$work/town/Tarrowind/Tarrowind.ini"

# "Executing <name>" and the first ped it picked, the handle left out (the scene's world
# numbers its peds its own way), from the daily logs in order.
first_encounter() {
    awk '/\[INFO\] Executing event[0-9]/ { print; exit }' "$@"
    awk '/\[DEBUG\] Valid [a-z ]+ found [0-9]+ at distance/ { print; exit }' "$@" |
        sed -E 's/found [0-9]+ at/found at/'
}

"$sim" --workdir "$work/town" --minutes 10 --quiet >/dev/null
town_rec=$(ls "$work"/town/Tarrowind/logs/*.rec)
"$sim" --scene-from "$town_rec" >"$work/town-scene.json" 2>"$work/town-scene.err" ||
    problem "--scene-from the town's recording failed: $(cat "$work/town-scene.err")"
status=0
"$sim" --scenario "$work/town-scene.json" --workdir "$work/town-again" --quiet \
    >"$work/town-again.out" 2>&1 || status=$?
[ $status = 0 ] || problem "the town's scene exited $status: $(tail -3 "$work/town-again.out")"
grep -q "^expectations met: [1-9][0-9]* of [1-9]" "$work/town-again.out" ||
    problem "the town's scene did not check its expectations: $(tail -1 "$work/town-again.out")"
recorded=$(first_encounter "$work"/town/Tarrowind/logs/*.log)
staged=$(first_encounter "$work"/town-again/Tarrowind/logs/*.log)
[ "$(echo "$recorded" | wc -l)" = 2 ] || problem "the town's ten minutes picked no ped: $recorded"
[ "$recorded" = "$staged" ] ||
    problem "the scene staged \"$staged\" where the recording has \"$recorded\""
status=0
"$sim" --compare-world "$town_rec" --scenario "$source_dir/scenarios/town.json" \
    >"$work/town-compare.out" 2>&1 || status=$?
[ $status = 0 ] && grep -q "^no difference: [0-9]* answers" "$work/town-compare.out" ||
    problem "the town measured against itself exited $status: $(tail -3 "$work/town-compare.out")"

mkdir -p "$work/scripted"
"$sim" --scenario "$source_dir/tests/scene/scripted_scene.json" --workdir "$work/scripted" \
    --quiet >/dev/null
scripted_rec=$(ls "$work"/scripted/Tarrowind/logs/*.rec)
status=0
"$sim" --compare-world "$scripted_rec" >"$work/scripted-compare.out" 2>&1 || status=$?
[ $status = 0 ] && grep -q "^no difference: [0-9]* answers of [0-9]* natives" \
    "$work/scripted-compare.out" ||
    problem "the scripted scene's world differs (status $status): $(cat "$work/scripted-compare.out")"
# The scans that listed all five (the dead are cleared away after two minutes).
scans=$(cat "$work"/scripted/Tarrowind/logs/*.log | grep -c '\[DEBUG\] Found 5 nearby peds' || true)
[ "$scans" -gt 0 ] || problem "no scan of the scripted scene listed its five peds"

status=0
"$changed_sim" --compare-world "$scripted_rec" >"$work/changed-compare.out" 2>&1 || status=$?
[ $status = 1 ] || problem "the changed world compared with status $status, not 1"
grep -Eq "^GET_PED_NEARBY_PEDS +[0-9]+ +$scans\$" "$work/changed-compare.out" ||
    problem "the changed world's $scans scans are not all under GET_PED_NEARBY_PEDS:" \
        "$(cat "$work/changed-compare.out")"
grep -q "^$scans of [0-9]* answers differ, in 1 of [0-9]* natives" "$work/changed-compare.out" ||
    problem "the changed world differs elsewhere too: $(tail -1 "$work/changed-compare.out")"
grep -Eq '^    [0-9.]+ s: GET_PED_NEARBY_PEDS\(4097, &, -1, -1\): recorded 5 \[.*\]; the world 4 ' \
    "$work/changed-compare.out" ||
    problem "the first case does not show the ped out of reach: $(grep -m1 '^    ' "$work/changed-compare.out")"

# Refused with one line and status 2.
printf 'TWRECRD\n\003' >"$work/newer.rec"
printf 'TWRECRD\n\002\001\002\000\000\177\000' >"$work/damaged.rec"
: >"$work/empty.rec"
for bad in "$work/empty.rec" "$work/newer.rec" "$work/damaged.rec" "$work/missing.rec" \
    "$source_dir/tests/scene/scripted_scene.json"; do
    for command in --scene-from --compare-world; do
        status=0
        "$sim" $command "$bad" >"$work/bad.out" 2>"$work/bad.err" || status=$?
        [ $status = 2 ] && [ "$(said "$work/bad.err" | wc -l)" = 1 ] && [ ! -s "$work/bad.out" ] ||
            problem "$command $bad exited $status and said: $(cat "$work/bad.err" "$work/bad.out")"
    done
done
grep -q "damaged at byte 13: a record of unknown kind 127" <("$sim" --scene-from "$work/damaged.rec" 2>&1) ||
    problem "a damaged recording is not named as such"
for moment in "--encounter 99" "--at 100000"; do
    status=0
    "$sim" --scene-from "$scripted_rec" $moment >"$work/bad.out" 2>"$work/bad.err" || status=$?
    [ $status = 2 ] && [ "$(said "$work/bad.err" | wc -l)" = 1 ] ||
        problem "--scene-from $moment exited $status and said: $(cat "$work/bad.err")"
done
exit $fail
