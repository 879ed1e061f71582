#include "encounters/event5_mugging.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/logger.h"
#include "encounters/aggressor_scene.h"
#include "encounters/encounter_lines.h"
#include "encounters/encounter_run.h"
#include "encounters/watch_limit.h"
#include "host/natives.h"
#include "host/script_wait.h"
#include "world/aggressor_blip.h"
#include "world/candidate_filter.h"
#include "world/free_play.h"
#include "world/identifier_hash.h"
#include "world/nearby_scan.h"
#include "world/ped_ledger.h"
#include "world/ped_moves.h"
#include "world/rally.h"
#include "world/scan_facts.h"

namespace {

constexpr int kScanCapacity = 50;
constexpr float kFarWatchDistance = 75.0f;
constexpr uint32_t kConfrontationWaitMs = 2000;
constexpr int kQuietPassLimit = 10;

struct Mugging : AggressorScene {
    Ped victim = 0;
    std::vector<Ped> bystanders;  // taken once, when the robbery starts
};

struct Candidates {
    std::vector<Ped> robbers;
    std::vector<Ped> victims;  // every robber is also a victim candidate
};

// What the game says of one ped near the player, read once: both candidate passes judge the
// same frame's answers, so asking the game twice would only cost a second round of calls.
struct PedVerdict {
    const std::string* shopkeeper = nullptr;  // the exempt model it matched, when excluded
    bool onFootNearAndFree = false;  // a living human on foot within reach whom no script owns
                                     // and who belongs to none of the protected groups
    bool female = false;             // read only while women are excluded
    float distance = 0;
};

const IdentifierList kProtectedGroups = {"REL_COP", "REL_GANG_DUTCHS", "REL_GANG_DUTCHS_HORSES",
                                         "REL_WILD_ANIMAL_BIRD"};
const CandidateRules kFreeHumans = {kNotThePlayer | kHumansOnly, kProtectedGroups,
                                    Whereabouts::OnFoot};

PedVerdict Judge(EntityFacts& ped, ScanFacts& facts, float radius) {
    PedVerdict verdict;
    if (!IsFreeToTake(ped, facts, kFreeHumans)) {
        return verdict;
    }
    if (Config.ExcludeShopkeepers) {
        verdict.shopkeeper = IsExemptModel(ped);
        if (verdict.shopkeeper) {
            return verdict;
        }
    }
    verdict.female = Config.ExcludeWomen && !ped.IsMale();
    verdict.distance = ped.DistanceToPlayer();
    verdict.onFootNearAndFree = IsWithinReach(ped, radius, kFreeHumans.whereabouts);
    return verdict;
}

// One candidate pass over the verdicts, with its log lines; women are left out only when
// asked for.
std::vector<Ped> Pass(const NearbyScan& scan, const std::vector<PedVerdict>& verdicts,
                      bool excludeWomen) {
    std::vector<Ped> passed;
    for (size_t i = 0; i < verdicts.size(); ++i) {
        const PedVerdict& verdict = verdicts[i];
        if (verdict.shopkeeper) {
            Log(LogLevel::Debug, "Excluded shopkeeper found: ", *verdict.shopkeeper);
            continue;
        }
        if (!verdict.onFootNearAndFree || (excludeWomen && verdict.female)) {
            continue;
        }
        Log(LogLevel::Debug, "Valid ped found ", scan.handles[i],
            " at distance: ", verdict.distance, "m");
        passed.push_back(scan.handles[i]);
    }
    return passed;
}

Candidates CollectCandidates(const NearbyScan& scan) {
    const float radius = static_cast<float>(Config.SearchRadius);
    ScanFacts facts(scan);
    std::vector<PedVerdict> verdicts;
    verdicts.reserve(scan.handles.size());
    for (EntityFacts& ped : facts.Peds()) {
        verdicts.push_back(Judge(ped, facts, radius));
    }
    Candidates found;
    found.robbers = Pass(scan, verdicts, Config.ExcludeWomen);
    found.victims = Pass(scan, verdicts, false);
    return found;
}

// The victim is drawn from the candidates other than the robber: nobody mugs himself.
bool DrawRobberAndVictim(const NearbyScan& scan, Mugging& mugging) {
    const Candidates found = CollectCandidates(scan);
    mugging.playerPed = scan.playerPed;
    if (!found.robbers.empty()) {
        const Ped robber = DrawPed(found.robbers);
        std::vector<Ped> victims = found.victims;
        victims.erase(std::remove(victims.begin(), victims.end(), robber), victims.end());
        if (!victims.empty()) {
            mugging.aggressor = robber;
            mugging.victim = DrawPed(victims);
            LogAssignedPair(mugging.aggressor, mugging.victim);
            return true;
        }
    }
    Log(LogLevel::Info, kFoundNobodyLine,
        "2 valid NPCs within radius. Found: ", found.robbers.size(), " NPCs");
    Log(LogLevel::Debug, "Event cannot proceed without required NPCs");
    return false;
}

void StageMugging(Mugging& mugging, PedLedger& ledger) {
    Log(LogLevel::Debug, "Assigned aggressor: ", mugging.aggressor);
    ledger.Own(mugging.aggressor);
    Log(LogLevel::Debug, "Assigned victim: ", mugging.victim);
    ledger.Own(mugging.victim);
    const uint32_t weapon = GIVE_WEAPON_TO_PED(mugging.aggressor);
    if (weapon != 0) {
        Log(LogLevel::Debug, "Gave weapon ", weapon, " to aggressor ", mugging.aggressor);
    } else {
        LogError("Failed to give weapon to aggressor " + std::to_string(mugging.aggressor));
    }
    Log(LogLevel::Info, "Initiating NPC confrontation event");
    TASK_ROB_PED(mugging.aggressor, mugging.victim);
    SET_PED_KEEP_TASK(mugging.aggressor);
    AddAggressorBlip(mugging.aggressor, mugging.blip);
    SET_PED_RELATIONSHIP_GROUP_HASH(mugging.aggressor, IdentifierHash("REL_GANG_ODRISCOLL"));
    Log(LogLevel::Debug, "Aggressor ", mugging.aggressor, " is now mugging victim ",
        mugging.victim);
    mugging.bystanders = FindNearbyBystanders(mugging.aggressor, mugging.victim);
}

// While the robbery runs, bystanders flee and each able lawman is owned and set on the
// robber. Returns whether any lawman was sent.
bool RespondToRobbery(Mugging& mugging, const std::vector<Ped>& lawmen, PedLedger& ledger) {
    RallyAgainst(mugging.aggressor, mugging.bystanders, kBystandersFlee);
    return RallyAgainst(mugging.aggressor, lawmen, kLawmenEngage, &ledger, &mugging.lawmenSent) > 0;
}

// Every pass: ends when either party is down or gone, when lawmen engage, after ten passes
// of robbery with no lawman to send, when the player has left the robber behind, or at the
// watch limit (passes in which the robbery is not under way do not count toward the ten).
// Returns false when a story mission started: the robber is let go as if the player had
// left, the lawmen stand down, and nothing more is watched.
bool RunConfrontation(Mugging& mugging, PedLedger& ledger) {
    const WatchLimit limit;
    int quietPasses = 0;
    for (;;) {
        YieldToGame(kConfrontationWaitMs);
        if (SceneMustEnd()) {
            GiveUpScene(mugging, ledger);
            return false;
        }
        const std::vector<Ped> lawmen = FindNearbyLawmen(mugging.aggressor);
        if (EitherPartyDown(mugging, mugging.victim)) {
            return true;
        }
        if (GET_SCRIPT_TASK_STATUS(mugging.aggressor, game_constant::kRobberyTask, false) ==
            game_constant::kScriptTaskRunning) {
            if (RespondToRobbery(mugging, lawmen, ledger)) {
                Log(LogLevel::Debug, "Lawmen are engaging the aggressor, ending mugging event");
                ReactToAggressor(mugging.victim, mugging.aggressor);
                return true;
            }
            Log(LogLevel::Debug, "In progress ...");
            ++quietPasses;
        }
        if (quietPasses >= kQuietPassLimit) {
            Log(LogLevel::Debug, "Mugging has ended");
            ClearTasksOfPeds(lawmen);
            return true;
        }
        const float distance = DistanceFromPlayer(mugging.playerPed, mugging.aggressor);
        if (distance >= kPlayerLeftDistance) {
            Log(LogLevel::Debug, "Player is ", distance,
                " meters away from aggressor, ending mugging event.");
            LetAggressorGo(mugging, ledger);
            return true;
        }
        if (limit.Reached()) {
            LogWatchLimitReached("Mugging",
                                 "robber and victim flee, " + WatchingOnFor("the robber"));
            return true;
        }
    }
}

// Robber and victim run from each other.
void Scatter(Mugging& mugging) {
    if (IsPedActive(mugging.aggressor)) {
        MarkAggressorCriminal(mugging.aggressor);
        FleeFromPed(mugging.aggressor, mugging.victim);
        Log(LogLevel::Debug, "Aggressor ", mugging.aggressor, " is fleeing from scene");
    }
    if (DOES_ENTITY_EXIST(mugging.victim) && DOES_ENTITY_EXIST(mugging.aggressor) &&
        !IS_ENTITY_DEAD(mugging.victim)) {
        FleeFromPed(mugging.victim, mugging.aggressor);
        Log(LogLevel::Debug, "Victim ", mugging.victim, " is fleeing from scene");
    }
}

bool RunEvent5(PedLedger& ledger) {
    Mugging mugging;
    if (!DrawRobberAndVictim(ScanNearbyPeds(kScanCapacity), mugging)) {
        return true;
    }
    StageMugging(mugging, ledger);
    if (!RunConfrontation(mugging, ledger)) {
        return true;
    }
    Scatter(mugging);
    // The robber may linger near the player.
    WatchAggressorDepart(
        mugging,
        {kFarWatchDistance, "Aggressor has moved beyond 75 meters, ending confrontation",
         LetAggressorGo},
        ledger);
    return true;
}

}  // namespace

void event5_mugging() {
    RunEncounter(IDENTITY_OF(event5_mugging), RunEvent5);
}
