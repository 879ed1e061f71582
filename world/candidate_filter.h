// Which peds near the player may take part in an encounter: the common candidate test, the
// shopkeeper and huntable-animal model lists, and relationship-group checks.
#pragma once

#include <string>
#include <vector>

#include "host/game_types.h"
#include "world/identifier_hash.h"
#include "world/scan_facts.h"

// The first exempt model name whose hash equals the ped's model, or nullptr.
const std::string* IsExemptModel(EntityFacts& ped);

// With ExcludeShopkeepers on, whether the ped is a shopkeeper to leave alone; the match is
// logged ("Excluded shopkeeper found: <name>").
bool IsExcludedShopkeeper(EntityFacts& ped);

// Whether the ped's relationship group is the named one: the group is read, then the name
// hashed, both afresh.
bool PedInGroup(Ped ped, const char* groupName);

// Whether the ped's relationship group is one of the list's, the group read once.
bool PedInAnyGroup(Ped ped, const IdentifierList& groups);

// A draw of the program's generator among `count` candidates (at least one).
size_t DrawIndex(size_t count);
// A candidate drawn from the list; TakeDrawnPed also removes it.
Ped DrawPed(const std::vector<Ped>& candidates);
Ped TakeDrawnPed(std::vector<Ped>& candidates);

// The tests a rule set makes beyond the ones every set makes (the ped exists, no script owns
// it, it is in none of the left-out groups, it lies within SearchRadius and is alive).
enum CandidateCheck : unsigned {
    kNotThePlayer = 1u << 0,
    kNotThePlayersHorse = 1u << 1,
    kHumansOnly = 1u << 2,
    kWildOnlyIfHuntable = 1u << 3,  // a wild animal only of a huntable model
    kWomenSetting = 1u << 4,        // no women while ExcludeWomen is on
    kShopkeeperSetting = 1u << 5,   // no shopkeepers while ExcludeShopkeepers is on
};

// Where a candidate must be.
enum class Whereabouts { OnFoot, InVehicle, Riding };

// Who may take a part in an encounter. The tests run in one fixed order, each asking the game
// only what it needs: existence, the player, the player's horse, human, owned by a script,
// groups, huntable, women, shopkeepers; then distance, death and whereabouts.
struct CandidateRules {
    unsigned checks;  // CandidateCheck flags
    const IdentifierList& leftOutGroups;
    Whereabouts whereabouts;
};

// The tests up to the settings: existence, the player, the horse, human, script, groups and
// huntable.
bool IsFreeToTake(EntityFacts& ped, ScanFacts& facts, const CandidateRules& rules);

// Within the radius of the player's scanned position, alive, and where the rules want it.
bool IsWithinReach(EntityFacts& ped, float radius, Whereabouts whereabouts);

// All the tests of the rule set, within SearchRadius.
bool IsCandidate(EntityFacts& ped, ScanFacts& facts, const CandidateRules& rules);

// The scanned peds that are candidates, in scan order; each is logged as
// "<found><ped> at distance: <distance>m".
std::vector<Ped> CollectByRules(ScanFacts& facts, const CandidateRules& rules, const char* found);
// The same over fresh facts of the scan.
std::vector<Ped> CollectByRules(const NearbyScan& scan, const CandidateRules& rules,
                                const char* found);

// The candidates of events 1 and 2: no player or player's horse, no lawman, gang member, bird
// or domestic animal, a wild animal only of a huntable model, both settings honoured, on foot.
extern const CandidateRules kConfrontationRules;
