// What every encounter and weather event does around its own work: the two opening lines,
// the two closing lines on a normal end, and on every way out the hand-back of each ped it
// still owns. A failure is logged under the event's name and goes on to the registry.
#pragma once

#include <string>

#include "encounters/encounter_definition.h"
#include "world/ped_ledger.h"

struct EncounterIdentity {
    const char* name;                 // "event1_aggressor"
    std::string label;                // "1", as in "Event 1 started - performing custom logic"
    const char* errorName = nullptr;  // how the error lines name it, when not by `name`
};

// The identity an encounter's definition gives it, by its id: IDENTITY_OF(event1_aggressor).
inline EncounterIdentity IdentityOf(const char* name, const EncounterDefinition& definition) {
    return EncounterIdentity{name, std::to_string(definition.number), definition.errorName};
}
#define IDENTITY_OF(id) IdentityOf(#id, id##_definition)

// `body` returns false when the encounter ends without its closing lines (an aborted spawn).
void RunEncounter(const EncounterIdentity& identity, bool (*body)(PedLedger& ledger));

// Re-seeds the program's generator from the tick count the first time the encounter asks in
// this process.
void SeedRandomOnce(const char* encounter);

// Forgets which encounters have seeded the generator, as a freshly loaded library has it.
void ResetEncounterState();
