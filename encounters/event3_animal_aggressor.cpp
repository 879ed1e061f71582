#include "encounters/event3_animal_aggressor.h"

#include <vector>

#include "core/logger.h"
#include "encounters/aggressor_scene.h"
#include "encounters/encounter_lines.h"
#include "encounters/encounter_run.h"
#include "encounters/ped_spawner.h"
#include "encounters/predator_models.h"
#include "encounters/spawn_spot.h"
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

namespace {

constexpr int kScanCapacity = 200;
constexpr float kSpawnDistance = 50.0f;  // from the victim
constexpr int kSpawnAttempts = 10;
constexpr uint32_t kSpawnRetryWaitMs = 1000;
constexpr uint32_t kAttackPassWaitMs = 2000;
constexpr float kEndDistance = 200.0f;

// The longest this encounter holds the script: every spawn attempt waits a frame for
// collision, waits for its model and pauses; then an animal that cannot reach its victim, or
// lingers alive near the player, is watched for the watch limit in each phase, overrun by at
// most one pass.
constexpr uint64_t kSpawnWaits = kSpawnAttempts * (kModelLoadPolls + 2);
constexpr uint64_t kLongestHoldMs =
    kSpawnAttempts * (kModelLoadPolls * kModelPollMs + kSpawnRetryWaitMs) + kWatchLimitMs +
    kAttackPassWaitMs + kWatchLimitMs + kDeparturePassWaitMs +
    (kSpawnWaits + 2) * kFrameAllowanceMs;
static_assert(kLongestHoldMs <= event3_animal_aggressor_definition.holdBoundMs,
              "the predator attack can hold the script longer than its definition says");

// The groups that are set to hate the animal's own group, so townsfolk and the law turn on it.
// Of the first six the game has only "REL_COP"; its civilians are "REL_CIVMALE" and
// "REL_CIVFEMALE", added after them. The other five stay, in their order: a hatred set for a
// group nobody belongs to changes nothing.
const char* const kGroupsHatingTheAnimal[] = {"REL_COP",      "CIV_MALE",       "CIV_FEMALE",
                                              "REL_CIV_MALE", "REL_CIV_FEMALE", "COP",
                                              "REL_CIVMALE",  "REL_CIVFEMALE"};

// The animal is the scene's aggressor.
struct PredatorAttack : AggressorScene {
    Player player = 0;
    Ped victim = 0;
    const PredatorModel* model = nullptr;
    Hash ownGroup = 0;
};

const IdentifierList kSparedGroups = {"REL_GANG_DUTCHS", "REL_GANG_DUTCHS_HORSES",
                                      "REL_WILD_ANIMAL_BIRD"};

// Any ped near the player on foot may fall prey (the player, lawmen, women and game animals
// included), except birds, the gang, peds some script owns and, if asked, shopkeepers.
const CandidateRules kPreyRules = {kShopkeeperSetting, kSparedGroups, Whereabouts::OnFoot};

// The player and the player's horse may be attacked but are never taken over by the event.
void PickVictim(const std::vector<Ped>& candidates, PredatorAttack& attack, PedLedger& ledger) {
    attack.victim = DrawPed(candidates);
    if (attack.victim != attack.playerPed &&
        attack.victim != GET_ACTIVE_HORSE_FOR_PLAYER(attack.player)) {
        ledger.Own(attack.victim);
    }
    Log(LogLevel::Debug, "Randomly assigned victim: ", attack.victim);
}

enum class SpawnOutcome { Spawned, Failed, PoolFull, SceneEnded };

// One attempt: a spot on the ground, dry, on this attempt's bearing from where the victim
// stands now, then the model drawn afresh and the animal made there. 0 when none was made.
Ped TrySpawnAt(PredatorAttack& attack, int attempt, PedLedger& ledger) {
    const Vector3 candidate =
        SpawnCandidate(GET_ENTITY_COORDS(attack.victim), GET_ENTITY_COORDS(attack.playerPed),
                       kSpawnDistance, attempt);
    Vector3 spot{};
    if (!FindGroundSpot(candidate, &spot)) {
        return 0;
    }
    attack.model = &PickPredatorModel();
    return SpawnPed(attack.model->hash, spot.x, spot.y, spot.z, ledger);
}

// Up to kSpawnAttempts tries, each on a bearing of its own. The game leaving free play meanwhile
// (a story mission, the player's death) ends the tries, and so does a ped pool with no room
// left: in a crowded town the
// game would make no ped, and a ped it did make would stop one of its own from appearing.
SpawnOutcome SpawnPredator(PredatorAttack& attack, PedLedger& ledger) {
    for (int attempts = 1;; ++attempts) {
        if (SceneMustEnd()) {
            return SpawnOutcome::SceneEnded;
        }
        if (attack.aggressor != 0) {
            return SpawnOutcome::Spawned;
        }
        if (attempts > kSpawnAttempts) {
            LogError("Failed to spawn animal after multiple attempts, aborting event");
            Log(LogLevel::Info, "event3_animal_aggressor", kAbortedLine, " due to spawn failure");
            return SpawnOutcome::Failed;
        }
        if (GET_NUM_FREE_SLOTS_IN_PED_POOL() < 1) {
            Log(LogLevel::Info, "No room for another ped, event3_animal_aggressor skipped");
            return SpawnOutcome::PoolFull;
        }
        attack.aggressor = TrySpawnAt(attack, attempts - 1, ledger);
        YieldToGame(kSpawnRetryWaitMs);
    }
}

void StageAttack(PredatorAttack& attack, PedLedger& ledger) {
    Log(LogLevel::Info, "Initiating animal attack on victim: ", attack.victim);
    AddAggressorBlip(attack.aggressor, attack.blip);
    ledger.Own(attack.aggressor);
    TASK_COMBAT_ANIMAL_CHARGE_PED(attack.aggressor, attack.victim);
    SET_PED_KEEP_TASK(attack.aggressor);
    Log(LogLevel::Debug, "Animal (", attack.model->name, ") is now charging victim ",
        attack.victim);
    ADD_RELATIONSHIP_GROUP("MyRelGroup", &attack.ownGroup);
    for (const char* group : kGroupsHatingTheAnimal) {
        SET_RELATIONSHIP_BETWEEN_GROUPS(game_constant::kRelationshipHate, IdentifierHash(group),
                                        attack.ownGroup);
    }
    SET_PED_RELATIONSHIP_GROUP_HASH(attack.aggressor, attack.ownGroup);
}

// The animal is handed back. Once the event's own blip is gone, no other is looked for on it.
void LetAnimalGo(AggressorScene& attack, PedLedger& ledger) {
    if (attack.blip.removed) {
        ledger.Release(&attack.aggressor);
    } else {
        LetAggressorGo(attack, ledger);
    }
}

// Every pass, the peds near the animal scatter or fight and the lawmen near it engage; ends
// when either party is down or gone, or the player has left the animal behind. Returns false
// when a story mission started: the animal is let go and the lawmen stand down, and nothing
// more is watched.
bool RunAttackPhase(PredatorAttack& attack, PedLedger& ledger) {
    const WatchLimit limit;
    for (;;) {
        YieldToGame(kAttackPassWaitMs);
        if (SceneMustEnd()) {
            GiveUpScene(attack, ledger, LetAnimalGo);
            return false;
        }
        if (EitherPartyDown(attack, attack.victim)) {
            return true;
        }
        const std::vector<Ped> lawmen = FindNearbyLawmen(attack.aggressor);
        const std::vector<Ped> bystanders = FindNearbyBystanders(attack.aggressor, attack.victim);
        RallyAgainst(attack.aggressor, bystanders, kBystandersFleeOrFightBack);
        RallyAgainst(attack.aggressor, lawmen, kLawmenEngage, nullptr, &attack.lawmenSent);
        const float distance = DistanceFromPlayer(attack.playerPed, attack.aggressor);
        if (distance < kEndDistance) {
            if (limit.Reached()) {
                LogWatchLimitReached("Attack", WatchingOnFor("the animal"));
                return true;
            }
            continue;
        }
        Log(LogLevel::Debug, "Player is ", distance, " meters away from animal, ending event.");
        LetAnimalGo(attack, ledger);
        return true;
    }
}

// Returns false when the event gave up without staging anything worth the closing lines.
bool RunEvent3(PedLedger& ledger) {
    const NearbyScan scan = ScanNearbyPeds(kScanCapacity);
    const std::vector<Ped> candidates = CollectByRules(scan, kPreyRules, "Valid ped found ");
    PredatorAttack attack;
    attack.player = scan.player;
    attack.playerPed = scan.playerPed;
    if (candidates.empty()) {
        Log(LogLevel::Info, kFoundNobodyLine, "valid NPCs within radius. Found: 0 victims.");
        Log(LogLevel::Debug, "Event cannot proceed without required NPCs");
        return true;
    }
    PickVictim(candidates, attack, ledger);
    switch (SpawnPredator(attack, ledger)) {
        case SpawnOutcome::Failed:
        case SpawnOutcome::PoolFull:
            return false;
        case SpawnOutcome::SceneEnded:
            return true;
        case SpawnOutcome::Spawned:
            break;
    }
    StageAttack(attack, ledger);
    if (!RunAttackPhase(attack, ledger)) {
        return true;
    }
    WatchAggressorDepart(
        attack,
        {kEndDistance, "Animal has moved beyond 200 meters, ending confrontation", LetAnimalGo},
        ledger);
    ledger.Release(&attack.aggressor);
    return true;
}

}  // namespace

void event3_animal_aggressor() {
    RunEncounter(IDENTITY_OF(event3_animal_aggressor), RunEvent3);
}
