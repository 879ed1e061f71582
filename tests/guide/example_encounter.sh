#!/usr/bin/env bash
# The guide's example encounter, built in with its own two files and nothing else edited: the
# shipped INI and the README's table, the settings check, the registry, the recording's header
# and a scenario all know it. The ordinary simulator, built without it, does not.
#   example_encounter.sh GUIDE_SIM GUIDE_SETTINGS_TEXT SIM WORKDIR
set -euo pipefail
guide_sim=$1 settings_text=$2 sim=$3 work=$4
source "$(dirname "$0")/../cli/problems.sh"

rm -rf "$work"
mkdir -p "$work/game/Tarrowind/logs"

# The shipped files: its comment, its default and its line in the README's table.
"$settings_text" "$work/Tarrowind.ini" "$work/table.txt"
grep -Fxq "; A ped near you takes fright and runs from you. Default: true." "$work/Tarrowind.ini" &&
    grep -A1 -F "runs from you. Default" "$work/Tarrowind.ini" | grep -Fxq "Event7_Startled_Ped=true" ||
    problem "the shipped INI does not document Event7_Startled_Ped"
awk '/^\[Encounters\]/{p=1;next} /^\[/{p=0} p' "$work/Tarrowind.ini" | grep -q "^Event7_Startled_Ped=" ||
    problem "Event7_Startled_Ped is not under [Encounters]"
grep -Eq "^ +Event7_Startled_Ped +a ped runs from you +true$" "$work/table.txt" ||
    problem "the README's table has no line for Event7_Startled_Ped"

scenario() {  # file, encounters
    cat >"$1" <<JSON
{"description": "the example encounter in a small square",
 "player": {"position": [0, 0, 0]}, "minutes": 4, "seed": 3,
 "peds": [{"model": "A_M_M_ValTownfolk_01", "position": [6, 4, 0], "count": 4, "spread": 4}],
 "ini": ["[Logging]", "EnableDebugLogging=true", "RecordSession=true",
         "[Event Timing]", "MinEventDelayMinutes=1", "MaxEventDelayMinutes=1",
         "[Weather]", "Sudden_Thunderstorm=false", "Sudden_Hurricane=false", "Sudden_Fog=false"],
 "only_encounters": [$2],
 "expect": {"encounters_run": {"event7_startled_ped": {"at_least": 1}},
            "log_has": ["event7_startled_ped completed successfully"]}}
JSON
}

# A scenario that stages only it, to its expect block; the registry and the recording.
scenario "$work/startled.json" '"event7_startled_ped"'
"$guide_sim" --scenario "$work/startled.json" --workdir "$work/game" --quiet >"$work/run.txt" 2>&1 ||
    problem "the scenario did not run to its expectations: $(tail -n 3 "$work/run.txt")"
log=$(cat "$work"/game/Tarrowind/logs/*.log)
grep -q "Successfully registered event7_startled_ped" <<<"$log" ||
    problem "the registry did not register event7_startled_ped"
grep -q "Event 7 started - performing custom logic" <<<"$log" ||
    problem "the encounter's lines do not give its number"
recording=$(ls "$work"/game/Tarrowind/logs/*.rec 2>/dev/null | head -1)
[ -n "$recording" ] && grep -aq "Encounters.Event7_Startled_Ped=true" "$recording" ||
    problem "the recording's header does not hold the switch as read"

# The settings check: a misspelt key is pointed to the right one.
mkdir -p "$work/check/Tarrowind/logs"
printf '[Encounters]\nEvent7_Startled_Pde=true\n' >"$work/check/Tarrowind/Tarrowind.ini"
"$guide_sim" --workdir "$work/check" --minutes 1 --quiet >/dev/null 2>&1 || true
grep -q "Event7_Startled_Pde=true is not a setting Tarrowind reads, so it is ignored. Did you mean Event7_Startled_Ped?" \
    "$work"/check/Tarrowind/logs/*.log || problem "the settings check does not know Event7_Startled_Ped"

# Compiled only into the guide's programs.
"$sim" --scenario "$work/startled.json" --workdir "$work/game" --quiet >"$work/plain.txt" 2>&1 &&
    problem "the ordinary simulator knows the example encounter"
grep -q "only_encounters\[0\]" "$work/plain.txt" ||
    problem "the ordinary simulator refused the scenario for another reason: $(head -n 2 "$work/plain.txt")"

[ $fail = 0 ] && echo "ok: the shipped INI and README, the settings check, the registry, the recording and a scenario know the example encounter"
exit $fail
