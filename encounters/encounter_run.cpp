#include "encounters/encounter_run.h"

#include <exception>
#include <string>

#include "core/logger.h"

void RunEncounter(const EncounterIdentity& identity, bool (*body)(PedLedger& ledger)) {
    const std::string name = identity.name;
    Log(LogLevel::Info, "Executing " + name);
    Log(LogLevel::Debug, "Event ", identity.number, " started - performing custom logic");
    PedLedger ledger;
    try {
        const bool completed = body(ledger);
        // Owned peds go back after the encounter's own clean-up, before its closing lines.
        ledger.ReleaseRemaining();
        if (completed) {
            Log(LogLevel::Debug, "Event ", identity.number, " logic executed successfully");
            Log(LogLevel::Info, name + " completed successfully");
        }
    } catch (const std::exception& e) {
        ledger.ReleaseRemainingAfterFailure();
        LogError(std::string("Exception in ") + identity.errorName + ": " + e.what());
        throw;
    } catch (...) {
        ledger.ReleaseRemainingAfterFailure();
        LogError(std::string("Unknown exception in ") + identity.errorName);
        throw;
    }
}
