// What the rest of the system knows of an encounter, declared once in the encounter's own
// header:
//
//   TARROWIND_ENCOUNTER(event6_horse_bucking){
//       6,                       // its number, as its log lines give it: "Event 6 started"
//       "Event6_Horse_Bucking",  // its switch under [Encounters]; a missing key counts as on
//       kAnyHour,                // or the in-game hours at which its turn is skipped
//       302000,                  // the longest it holds the script, in ms
//       "A rider's horse bucks and may throw the rider.",  // the shipped INI's comment
//       "a horse bucks its rider",                          // its line in the player's README
//   };
//
// The id is its name in the registry and the log ("Executing event6_horse_bucking") and the
// name of its function, defined in its source. The build finds every header that declares an
// encounter this way (cmake/encounter_catalogue.cmake) and makes from them the one list that
// the registry, the settings and their check, the recording, the shipped INI and README and
// the tests read: no other file names an encounter.
#pragma once

#include <cstdint>

// The in-game hours, from..to inclusive, at which the registry skips an encounter's turn.
struct SkippedHours {
    int from;
    int to;

    constexpr bool Skips(int hour) const { return from >= 0 && hour >= from && hour <= to; }
};
constexpr SkippedHours kAnyHour{-1, -1};

struct EncounterDefinition {
    int number;
    const char* iniKey;
    SkippedHours skipped;
    uint64_t holdBoundMs;
    const char* iniComment;           // one sentence, without the hours or the default
    const char* readmeLine;           // a few words, without the hours
    const char* errorName = nullptr;  // how its error lines name it, when not by its id
};

#define TARROWIND_ENCOUNTER(id) \
    void id();                  \
    inline constexpr EncounterDefinition id##_definition =
