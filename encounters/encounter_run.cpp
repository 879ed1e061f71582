#include "encounters/encounter_run.h"

#include <exception>
#include <set>
#include <string>

#include "core/logger.h"
#include "core/random.h"
#include "encounters/encounter_lines.h"
#include "platform/platform.h"
#include "world/free_play.h"

void RunEncounter(const EncounterIdentity& identity, bool (*body)(PedLedger& ledger)) {
    const std::string name = identity.name;
    const std::string errorName = identity.errorName ? identity.errorName : identity.name;
    Log(LogLevel::Info, kExecutingLine, name);
    Log(LogLevel::Debug, "Event ", identity.label, " started - performing custom logic");
    PedLedger ledger;
    ForgetBlackouts();
    try {
        const bool completed = body(ledger);
        // Owned peds go back after the encounter's own clean-up, before its closing lines.
        ledger.ReleaseRemaining();
        if (completed) {
            Log(LogLevel::Debug, "Event ", identity.label, " logic executed successfully");
            Log(LogLevel::Info, name, kCompletedLine);
        }
    } catch (const std::exception& e) {
        ledger.ReleaseRemainingAfterFailure();
        LogError(kExceptionLine + errorName + ": " + e.what());
        throw;
    } catch (...) {
        ledger.ReleaseRemainingAfterFailure();
        LogError(kUnknownExceptionLine + errorName);
        throw;
    }
}

namespace {
std::set<std::string> encountersThatSeeded;
}  // namespace

void SeedRandomOnce(const char* encounter) {
    if (encountersThatSeeded.insert(encounter).second) {
        SeedRandom(static_cast<uint32_t>(platform::TickCount64()));
    }
}

void ResetEncounterState() {
    encountersThatSeeded.clear();
}
