#include "encounters/event4_wagon_robbery.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "core/logger.h"
#include "encounters/aggressor_scene.h"
#include "encounters/encounter_lines.h"
#include "encounters/encounter_run.h"
#include "encounters/once.h"
#include "encounters/watch_limit.h"
#include "host/natives.h"
#include "host/script_wait.h"
#include "world/aggressor_blip.h"
#include "world/candidate_filter.h"
#include "world/free_play.h"
#include "world/nearby_scan.h"
#include "world/ped_ledger.h"
#include "world/ped_moves.h"
#include "world/rally.h"
#include "world/scan_facts.h"

namespace {

constexpr int kScanCapacity = 200;
constexpr uint32_t kPassWaitMs = 1000;
constexpr uint32_t kVictimPauseMs = 2000;
constexpr int kDriverSeat = -1;

// The game's model hashes of the wagons that count, in the order a vehicle is compared.
constexpr Hash kWagonModelHashes[] = {
    0xCEDED274, 0x85943FE0, 0xAFB2141B, 0xDDFBF0AE, 0x1656E157, 0x0D10CECB, 0x02D03A4A, 0xE98507B4,
    0x68F6F8F3, 0xF7D816B7, 0xF775C720, 0x0598B238, 0x9324CD4E, 0xA3EC6EDD, 0xB3C45542, 0xBE696A8C,
    0x91068FC7, 0x276DFE5E, 0x5F27ED25, 0x9780442F, 0xEC2A1018, 0x9A308177, 0xE89274F1, 0x61EC29C0,
    0x69897B5C, 0x1EEBDBE5, 0x2C3B0296, 0x75BDDBD6, 0xC3E6C004, 0x824EBBB5, 0xB203C6B3, 0xB31F8075,
    0x7DBBF975, 0x680D3008, 0xE7D930EA, 0x9B58946E, 0xC474677D, 0xAAFEA8AE, 0xEF1F4829, 0x90C51372,
    0x6FBDD4B8, 0x9735A3CF, 0x3C9870A6, 0xC2D200FE, 0xEE8254F6, 0xF7E89A8D, 0xCCC649AE, 0xE96CFEFB,
    0x08FF91ED, 0xA7FBA623, 0x310A4F8B, 0x0538529A, 0xF53E4390,
};

// Once the robber is dead: the driver is sent back onto the wagon, then driving off, and the
// robber's blip is dealt with. Each step is taken once, on the answers of its own pass.
struct WagonRecovery {
    Once reboarding;
    Once drivingAway;
    Once robberDownSeen;
};

// The robbery as it is being watched.
struct WagonRobbery : AggressorScene {
    Ped victim = 0;
    Vehicle wagon = 0;
    bool lawAlerted = false;  // lawmen turned on the robber (victim hurt, or escape)
    Once victimOut;           // the driver was seen off the wagon and fought back
    Once escape;              // the robber was seen in the wagon and fled
    WagonRecovery recovery;
};

struct Candidates {
    std::vector<Ped> robbers;
    std::vector<Ped> drivers;
    std::vector<Vehicle> wagons;  // each driver's, as the scan found it
};

const IdentifierList kNotRobberGroups = {"REL_COP", "REL_GANG_DUTCHS"};
const IdentifierList kGang = {"REL_GANG_DUTCHS"};

// A robber is a living human on foot near the player whom no script owns and who is neither
// lawman nor gang member (nor a woman or shopkeeper, when those are excluded).
const CandidateRules kRobberRules = {
    kNotThePlayer | kHumansOnly | kWomenSetting | kShopkeeperSetting, kNotRobberGroups,
    Whereabouts::OnFoot};

// A ped near the player whom no script owns, alive and sitting in some vehicle.
const CandidateRules kSeatedRules = {kNotThePlayer, kGang, Whereabouts::InVehicle};

// Only the driver of a listed wagon can be robbed of it.
void ConsiderDriver(EntityFacts& ped, ScanFacts& facts, Candidates& found) {
    const Vehicle vehicle = ped.VehicleIn();
    Log(LogLevel::Debug, "Checking vehicle for ped ", ped.Handle(), ": vehicle entity ", vehicle);
    EntityFacts& wagon = facts.Of(vehicle);
    if (!wagon.Exists()) {
        return;
    }
    const Hash model = wagon.Model();
    if (!IsWagonModel(model)) {
        return;
    }
    const int seat = ped.Seat();
    Log(LogLevel::Debug, "Ped ", ped.Handle(), " is in valid wagon model ", model, " on seat ",
        seat);
    if (seat == kDriverSeat) {
        found.drivers.push_back(ped.Handle());
        found.wagons.push_back(vehicle);
        Log(LogLevel::Debug, "Valid victims found ", ped.Handle(),
            " at distance: ", ped.DistanceToPlayer(), "m");
    }
}

// Robbers first, then drivers, over the same peds: the second pass reads only what the first
// did not.
Candidates CollectCandidates(const NearbyScan& scan) {
    ScanFacts facts(scan);
    Candidates found;
    found.robbers = CollectByRules(facts, kRobberRules, "Valid aggressors found ");
    for (EntityFacts& ped : facts.Peds()) {
        if (IsCandidate(ped, facts, kSeatedRules)) {
            ConsiderDriver(ped, facts, found);
        }
    }
    return found;
}

bool DrawRobberAndDriver(const NearbyScan& scan, WagonRobbery& robbery) {
    const Candidates found = CollectCandidates(scan);
    robbery.playerPed = scan.playerPed;
    if (found.robbers.empty() || found.drivers.empty()) {
        Log(LogLevel::Info, kFoundNobodyLine,
            "2 valid NPCs within radius. Found: ", found.robbers.size(), " aggressors.");
        Log(LogLevel::Info, kFoundNobodyLine,
            "2 valid NPCs within radius. Found: ", found.drivers.size(), " victims.");
        Log(LogLevel::Debug, "Event cannot proceed without required NPCs");
        return false;
    }
    robbery.aggressor = DrawPed(found.robbers);
    const size_t driver = DrawIndex(found.drivers.size());
    robbery.victim = found.drivers[driver];
    robbery.wagon = found.wagons[driver];
    LogAssignedPair(robbery.aggressor, robbery.victim);
    return true;
}

void StageRobbery(WagonRobbery& robbery, PedLedger& ledger) {
    BeginConfrontation(robbery, robbery.victim, ledger);
    CLEAR_PED_TASKS(robbery.aggressor);
    TASK_ENTER_VEHICLE(robbery.aggressor, robbery.wagon);
    SET_PED_KEEP_TASK(robbery.aggressor);
    Log(LogLevel::Debug, "Aggressor ", robbery.aggressor, " is attempting wagon robbery on victim ",
        robbery.victim);
}

void AnnounceRobberyResponse(Ped lawman, Ped /*robber*/) {
    Log(LogLevel::Debug, "Lawman ", lawman, " responding to wagon robbery");
}

// Able lawmen go for the robber until he is down; once he has the wagon, every able one does.
const Rally kLawmenRespond = {TASK_COMBAT_PED, RallyLasts::WhileAggressorActive,
                              AnnounceRobberyResponse};
const Rally kLawmenChase = {TASK_COMBAT_PED, RallyLasts::ThroughTheList, nullptr};

void StartEscape(WagonRobbery& robbery, const std::vector<Ped>& lawmen) {
    Log(LogLevel::Debug, "Aggressor successfully entered wagon - initiating escape");
    CLEAR_PED_TASKS(robbery.aggressor);
    AddAggressorBlip(robbery.aggressor, robbery.blip);
    MarkAggressorCriminal(robbery.aggressor);
    RallyAgainst(robbery.aggressor, lawmen, kLawmenChase, nullptr, &robbery.lawmenSent);
    TASK_FLEE_PED(robbery.aggressor, robbery.victim);
    robbery.lawAlerted = true;
}

// What the robber, the driver and the law do about what this pass sees.
void ReactToScene(WagonRobbery& robbery, const std::vector<Ped>& lawmen, PedLedger& ledger) {
    if (!robbery.lawAlerted) {
        for (const Ped lawman : lawmen) {
            OwnLawman(lawman, ledger);
        }
    }
    if (IS_PED_INJURED(robbery.victim) && !robbery.lawAlerted) {
        RallyAgainst(robbery.aggressor, lawmen, kLawmenRespond, nullptr, &robbery.lawmenSent);
        Log(LogLevel::Debug, "Victim injured - law enforcement now hostile to aggressor");
        robbery.lawAlerted = true;
    }
    if (robbery.victimOut.FirstTime(!IS_PED_IN_ANY_VEHICLE(robbery.victim))) {
        if (!IS_ENTITY_DEAD(robbery.victim)) {
            FightPed(robbery.victim, robbery.aggressor);
        }
        RallyAgainst(robbery.aggressor, lawmen, kLawmenRespond, nullptr, &robbery.lawmenSent);
    }
    if (robbery.escape.FirstTime(IS_PED_IN_VEHICLE(robbery.aggressor, robbery.wagon))) {
        StartEscape(robbery, lawmen);
    }
}

// The robber is dead while the driver lives and the wagon is still there.
bool DriverCanTakeWagonBack(const WagonRobbery& robbery) {
    return IS_ENTITY_DEAD(robbery.aggressor) && !IS_ENTITY_DEAD(robbery.victim) &&
           DOES_ENTITY_EXIST(robbery.wagon);
}

// The driver, told to drop what it does, waits and is given the task toward the wagon.
void SendDriverTo(WagonRobbery& robbery, void (*task)(Ped driver, Vehicle wagon)) {
    CLEAR_PED_TASKS(robbery.victim);
    YieldToGame(kVictimPauseMs);
    task(robbery.victim, robbery.wagon);
    SET_PED_KEEP_TASK(robbery.victim);
}

// Once the robber is dead, the driver climbs back onto the wagon and then drives off. The
// world moves on during each pause, so every order is decided on fresh answers.
void RecoverWagon(WagonRobbery& robbery) {
    WagonRecovery& recovery = robbery.recovery;
    if (recovery.reboarding.FirstTime(DriverCanTakeWagonBack(robbery) &&
                                      !IS_PED_IN_ANY_VEHICLE(robbery.victim))) {
        SendDriverTo(robbery, TASK_ENTER_VEHICLE);
    }
    if (recovery.drivingAway.FirstTime(DriverCanTakeWagonBack(robbery) &&
                                       IS_PED_IN_VEHICLE(robbery.victim, robbery.wagon))) {
        SendDriverTo(robbery, TASK_VEHICLE_DRIVE_WANDER);
    }
    if (recovery.robberDownSeen.FirstTime(IS_ENTITY_DEAD(robbery.aggressor))) {
        RemoveAggressorBlip(robbery.blip);
        Log(LogLevel::Debug, "Aggressor is no longer active - deleting blips");
    }
}

// The driver is handed back and the lawmen stand down: the robber is dead, and the driver is
// leaving or the wagon is gone.
void EndAfterRobberDied(WagonRobbery& robbery, const std::vector<Ped>& lawmen, PedLedger& ledger) {
    ledger.Release(&robbery.victim);
    ClearTasksOfPeds(lawmen);
}

// Robber and driver are handed back, the blip goes and the given lawmen stand down.
void LeaveRobbery(WagonRobbery& robbery, const std::vector<Ped>& lawmen, PedLedger& ledger) {
    ledger.Release(&robbery.aggressor);
    ledger.Release(&robbery.victim);
    RemoveAggressorBlip(robbery.blip);
    ClearTasksOfPeds(lawmen);
}

// True when this pass ends the event: the player has left the robber behind, or the robber
// is dead and the driver is leaving or the wagon is gone.
bool CheckEnds(WagonRobbery& robbery, const std::vector<Ped>& lawmen, PedLedger& ledger) {
    const float distance = DistanceFromPlayer(robbery.playerPed, robbery.aggressor);
    if (distance >= kPlayerLeftDistance) {
        LogPlayerLeftAggressor(distance);
        LeaveRobbery(robbery, lawmen, ledger);
        return true;
    }
    if (!robbery.recovery.robberDownSeen.Done()) {
        return false;
    }
    if (robbery.recovery.drivingAway.Done()) {
        EndAfterRobberDied(robbery, lawmen, ledger);
        Log(LogLevel::Debug, "Aggressor is dead and victim is leaving the area - ending event.");
        return true;
    }
    if (!DOES_ENTITY_EXIST(robbery.wagon)) {
        EndAfterRobberDied(robbery, lawmen, ledger);
        Log(LogLevel::Debug,
            "Aggressor is dead and victim vehicle no longer exists - ending event.");
        return true;
    }
    return false;
}

// A robbery that has not ended within the watch limit never will: a robber whose boarding
// order ran out stands where he is, and a town player may never go 150 m from him. A story
// mission that starts ends it as if the player had left, every lawman sent standing down.
void WatchRobbery(WagonRobbery& robbery, PedLedger& ledger) {
    const WatchLimit limit;
    for (;;) {
        if (SceneMustEnd()) {
            LeaveRobbery(robbery, robbery.lawmenSent, ledger);
            return;
        }
        const std::vector<Ped> lawmen = FindNearbyLawmen(robbery.aggressor);
        ReactToScene(robbery, lawmen, ledger);
        RecoverWagon(robbery);
        if (CheckEnds(robbery, lawmen, ledger)) {
            return;
        }
        if (limit.Reached()) {
            LogWatchLimitReached("Robbery", "ending event.");
            RemoveAggressorBlip(robbery.blip);
            ClearTasksOfPeds(lawmen);
            return;
        }
        YieldToGame(kPassWaitMs);
    }
}

bool RunEvent4(PedLedger& ledger) {
    WagonRobbery robbery;
    if (DrawRobberAndDriver(ScanNearbyPeds(kScanCapacity), robbery)) {
        StageRobbery(robbery, ledger);
        WatchRobbery(robbery, ledger);
    }
    return true;
}

}  // namespace

bool IsWagonModel(Hash model) {
    return std::find(std::begin(kWagonModelHashes), std::end(kWagonModelHashes), model) !=
           std::end(kWagonModelHashes);
}

void event4_wagon_robbery() {
    RunEncounter(IDENTITY_OF(event4_wagon_robbery), RunEvent4);
}
