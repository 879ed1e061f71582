#include "encounters/event6_horse_bucking.h"

#include <vector>

#include "core/logger.h"
#include "core/random.h"
#include "encounters/aggressor_scene.h"
#include "encounters/encounter_lines.h"
#include "encounters/encounter_run.h"
#include "encounters/watch_limit.h"
#include "host/natives.h"
#include "host/script_wait.h"
#include "platform/platform.h"
#include "world/candidate_filter.h"
#include "world/free_play.h"
#include "world/identifier_hash.h"
#include "world/nearby_scan.h"
#include "world/ped_ledger.h"
#include "world/ped_moves.h"

namespace {

constexpr int kScanCapacity = 100;
constexpr uint32_t kCycleWaitMs = 1000;
constexpr int kThrowBelowRoll = 50;  // out of 100

const IdentifierList kNotRiderGroups = {"REL_COP", "REL_GANG_DUTCHS", "REL_GANG_DUTCHS_HORSES",
                                        "REL_WILD_ANIMAL_BIRD", "REL_WILD_ANIMAL"};

// A living rider near the player whom no script owns. Unlike the confrontation rules there
// is no domestic-animal group, no huntable-model rule and no women setting.
const CandidateRules kRiderRules = {kNotThePlayer | kNotThePlayersHorse | kShopkeeperSetting,
                                    kNotRiderGroups, Whereabouts::Riding};

// Past this distance from the rider the horse is out of the scene.
constexpr float kHorseAwayDistance = 50.0f;
// Once the rider is off and the horse away, the scene is over this long after the fall even
// if the rider still runs: a flee the game never ends must not keep the watch going.
constexpr uint64_t kSceneOverAfterFallMs = 45000;

// What the watch knows of the scene between passes.
struct Bucking {
    Ped victim = 0;
    Ped horse = 0;
    Ped playerPed = 0;
    bool offHorse = false;
    uint64_t fellAtMs = 0;
    bool horseFleeGiven = false;
};

// The game's name for the flee task when a script asks whether a ped still performs it.
bool PerformsFlee(Ped ped) {
    return GET_SCRIPT_TASK_STATUS(ped, IdentifierHash("SCRIPT_TASK_FLEE"), true) ==
           game_constant::kScriptTaskRunning;
}

// A flee given again while the ped performs it would start it over, so it is given only to a
// ped that no longer flees.
void KeepFleeing(Ped ped, Ped threat) {
    if (!PerformsFlee(ped)) {
        FleeFromPed(ped, threat);
    }
}

// The rider came off this pass (thrown, or unseated though the horse was not told to throw
// him): the horse runs from the rider, the rider gets up and runs from the horse.
void RiderFell(Bucking& scene) {
    scene.offHorse = true;
    scene.fellAtMs = platform::TickCount64();
    Log(LogLevel::Debug, "Victim ", scene.victim, " has been kicked off the horse.");
    FleeFromPed(scene.horse, scene.victim);
    scene.horseFleeGiven = true;
    CLEAR_PED_TASKS(scene.victim);
    FleeFromPed(scene.victim, scene.horse);
}

// One pass's orders; true when the scene is over: the rider off and no longer running from a
// horse that has gone (or a while after the fall), or a rider still in the saddle whose horse
// has stopped running.
bool TendScene(Bucking& scene) {
    if (!scene.offHorse && !IS_PED_ON_MOUNT(scene.victim)) {
        RiderFell(scene);
        return false;
    }
    const bool horseActive = IsPedActive(scene.horse);
    if (!scene.offHorse) {
        if (scene.horseFleeGiven && !PerformsFlee(scene.horse)) {
            return true;
        }
        if (horseActive) {
            KeepFleeing(scene.horse, scene.playerPed);
            scene.horseFleeGiven = true;
        }
        return false;
    }
    const bool horseAway =
        !horseActive || DistanceBetween(scene.horse, scene.victim) >= kHorseAwayDistance;
    const bool riderRuns = PerformsFlee(scene.victim);
    if (horseAway &&
        (!riderRuns || platform::TickCount64() - scene.fellAtMs >= kSceneOverAfterFallMs)) {
        return true;
    }
    if (horseActive) {
        KeepFleeing(scene.horse, scene.playerPed);
    }
    if (!riderRuns) {
        FleeFromPed(scene.victim, scene.horse);
    }
    return false;
}

// Watches the rider once a second until the rider is lost, the scene is over, the player is
// far away, a story mission starts, or five minutes have passed.
void WatchRider(Bucking& scene, PedLedger& ledger) {
    Ped& victim = scene.victim;
    const WatchLimit limit;
    for (;;) {
        YieldToGame(kCycleWaitMs);
        if (SceneMustEnd()) {
            LetPedGo(&victim, ledger);
            return;
        }
        if (!CanPedAct(victim)) {
            return;
        }
        if (TendScene(scene)) {
            Log(LogLevel::Debug, "The bucking is over, ending event.");
            LetPedGo(&victim, ledger);
            return;
        }
        const float distance = DistanceBetween(scene.playerPed, victim);
        if (distance >= kPlayerLeftDistance) {
            // The line says aggressor though the distance is the rider's; the wording is kept
            // as readers of the log know it.
            LogPlayerLeftAggressor(distance);
            LetPedGo(&victim, ledger);
            return;
        }
        if (limit.Reached()) {
            LogWatchLimitReached("Bucking event", "ending event.");
            LetPedGo(&victim, ledger);
            return;
        }
    }
}

bool RunEvent6(PedLedger& ledger) {
    const NearbyScan scan = ScanNearbyPeds(kScanCapacity);
    const std::vector<Ped> candidates = CollectByRules(scan, kRiderRules, "Valid victim found ");
    Ped victim = 0;
    if (!candidates.empty()) {
        victim = DrawPed(candidates);
        Log(LogLevel::Debug, "Randomly assigned victim: ", victim);
    }
    if (victim == 0) {
        Log(LogLevel::Info, kFoundNobodyLine,
            "valid NPCs within radius. Found: ", candidates.size(), " victims.");
        Log(LogLevel::Debug, "Event cannot proceed without required NPCs");
        return true;
    }
    Log(LogLevel::Info, "Initiating bucking event");
    ledger.Own(victim);
    Bucking scene;
    scene.victim = victim;
    scene.horse = GET_MOUNT(victim);
    scene.playerPed = scan.playerPed;
    const int roll = RandomInt() % 100;
    // The agitation asks for a throw; whether the rider comes off is the game's to say.
    TASK_MOUNT_THROW_RIDER(scene.horse, roll < kThrowBelowRoll);
    WatchRider(scene, ledger);
    return true;
}

}  // namespace

void event6_horse_bucking() {
    RunEncounter(IDENTITY_OF(event6_horse_bucking), RunEvent6);
}
