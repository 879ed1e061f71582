#include "encounters/event6_horse_bucking.h"

#include <vector>

#include "core/logger.h"
#include "core/random.h"
#include "encounters/aggressor_scene.h"
#include "encounters/encounter_run.h"
#include "encounters/once.h"
#include "encounters/watch_limit.h"
#include "host/natives.h"
#include "host/script_wait.h"
#include "world/candidate_filter.h"
#include "world/free_play.h"
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

// Watches the rider once a second until the rider is lost, the player is far away, a story
// mission starts, or five minutes have passed (a thrown rider may stay near a player who stays
// put).
void WatchRider(Ped& victim, Ped horse, Ped playerPed, bool thrown, PedLedger& ledger) {
    const WatchLimit limit;
    Once firstPass;
    for (;;) {
        YieldToGame(kCycleWaitMs);
        if (SceneMustEnd()) {
            LetPedGo(&victim, ledger);
            return;
        }
        if (!CanPedAct(victim)) {
            return;
        }
        if (firstPass.FirstTime() && thrown) {
            Log(LogLevel::Debug, "Victim ", victim, " has been kicked off the horse.");
            FleeFromPed(horse, victim);
            CLEAR_PED_TASKS(victim);
        } else {
            FleeFromPed(horse, playerPed);
        }
        if (thrown) {
            FleeFromPed(victim, horse);
        }
        const float distance = DistanceBetween(playerPed, victim);
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
        Log(LogLevel::Info, "Could not find valid NPCs within radius. Found: ", candidates.size(),
            " victims.");
        Log(LogLevel::Debug, "Event cannot proceed without required NPCs");
        return true;
    }
    Log(LogLevel::Info, "Initiating bucking event");
    ledger.Own(victim);
    const Ped horse = GET_MOUNT(victim);
    const int roll = RandomInt() % 100;
    const bool thrown = roll < kThrowBelowRoll;
    TASK_MOUNT_THROW_RIDER(horse, thrown);
    WatchRider(victim, horse, scan.playerPed, thrown, ledger);
    return true;
}

}  // namespace

void event6_horse_bucking() {
    RunEncounter({"event6_horse_bucking", "6"}, RunEvent6);
}
