// Which peds near the player may take part in an encounter: the common candidate test, the
// shopkeeper and huntable-animal model lists, and relationship-group checks.
#pragma once

#include <string>
#include <vector>

#include "host/game_types.h"
#include "world/identifier_hash.h"
#include "world/scan_facts.h"

// The two settings of [ExcludedPeds] the candidate test honours.
struct CandidateSettings {
    bool excludeShopkeepers = true;
    bool excludeWomen = false;
};

// The settings as loaded from the INI file.
CandidateSettings CurrentCandidateSettings();

// Wild animals that may take part, in the order they are tested.
extern const char* const kHuntableAnimalModels[11];

// Shopkeepers and other service peds that ExcludeShopkeepers protects, as a fresh list.
std::vector<std::string> GetExemptModelNames();

// The first exempt model name whose hash equals the ped's model, or nullptr.
const std::string* IsExemptModel(EntityFacts& ped);

// The ped exists, is neither the player nor the player's horse, and no script owns it: the
// first tests of every candidate filter that leaves the player's own out.
bool IsUnownedOtherPed(EntityFacts& ped, ScanFacts& facts);

// With ExcludeShopkeepers on, whether the ped is a shopkeeper to leave alone; the match is
// logged ("Excluded shopkeeper found: <name>").
bool IsExcludedShopkeeper(EntityFacts& ped);

// Whether the ped's relationship group is the named one: the group is read, then the name
// hashed, both afresh.
bool PedInGroup(Ped ped, const char* groupName);

// Whether the ped's relationship group is one of the list's, the group read once.
bool PedInAnyGroup(Ped ped, const IdentifierList& groups);

// The common test of events 1 and 2: the ped exists, is not the player or the player's horse,
// is not owned by a script, belongs to no protected group, is a huntable animal if wild, and
// passes the women and shopkeeper settings.
bool IsValidCandidatePed(EntityFacts& ped, ScanFacts& facts, const CandidateSettings& settings);
