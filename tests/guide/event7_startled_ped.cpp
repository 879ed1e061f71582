#include "tests/guide/event7_startled_ped.h"

#include <vector>

#include "core/logger.h"
#include "encounters/encounter_lines.h"
#include "encounters/encounter_run.h"
#include "host/natives.h"
#include "host/script_wait.h"
#include "world/candidate_filter.h"
#include "world/free_play.h"
#include "world/nearby_scan.h"
#include "world/ped_ledger.h"
#include "world/ped_moves.h"

namespace {

constexpr int kScanCapacity = 50;
constexpr int kFleePasses = 10;
constexpr uint32_t kPassWaitMs = 1000;

bool RunEvent7(PedLedger& ledger) {
    const Ped playerPed = GET_PLAYER_PED(PLAYER_ID());
    std::vector<Ped> candidates = CollectConfrontationCandidates(ScanNearbyPeds(kScanCapacity));
    if (candidates.empty()) {
        Log(LogLevel::Info, kFoundNobodyLine, "valid NPC within radius. Found: 0 valid peds.");
        return true;
    }
    SeedRandomOnce("event7_startled_ped");
    Ped startled = TakeDrawnPed(candidates);
    ledger.Own(startled);
    FleeFromPed(startled, playerPed);
    Log(LogLevel::Debug, "Ped ", startled, " is running from the player");
    for (int pass = 0; pass < kFleePasses && !SceneMustEnd() && IsPedActive(startled); ++pass) {
        YieldToGame(kPassWaitMs);
    }
    ledger.Release(&startled);
    return true;
}

}  // namespace

void event7_startled_ped() {
    RunEncounter(IDENTITY_OF(event7_startled_ped), RunEvent7);
}
