// Every setting the plug-in reads from Tarrowind.ini, in the order of the shipped file. The
// settings record (config.h), the loader, the settings check, the recording's header and the
// shipped INI and README are all made from this one table; each encounter adds its own switch
// under [Encounters] from its definition (encounters/encounter_definition.h).
//
// X(section, key, type, default, initial, INI comment, README line)
//   type     Switch (a missing key counts as `default`, on or off) or MinDelay / MaxDelay
//            (whole minutes; the two of one section bound each other)
//   default  what a missing key gives, and what the shipped file says
//   initial  the record's value before the file is read
#pragma once

#include <string>
#include <vector>

#define TARROWIND_SETTINGS_BEFORE_ENCOUNTERS(X)                                                  \
    X("Logging", EnableDebugLogging, Switch, true, true,                                         \
      "Write DEBUG lines to the log as well as INFO and ERROR lines.", "DEBUG lines in the log") \
    X("Logging", RecordSession, Switch, false, false,                                            \
      "Record this session for a bug report: everything the game answered the plug-in, written " \
      "to\nTarrowind/logs/Tarrowind_<date>_<time>.rec (a few hundred KB an hour, 200 MB at "     \
      "most).\nAttach it with the day's log; the developers can then play your session again "   \
      "exactly.\nUnlike the other switches, a missing key counts as off.",                       \
      "record the session for a bug report")                                                     \
    X("Blips", EnableBlips, Switch, true, true,                                                  \
      "Mark an encounter's aggressor on the map with a blip.",                                   \
      "map blip on an encounter's aggressor")                                                    \
    X("Event Timing", MinEventDelayMinutes, MinDelay, 1, 1,                                      \
      "Shortest pause between two encounters, in minutes: 1 to 35791 (below 1 counts as 1).",    \
      "shortest pause between encounters")                                                       \
    X("Event Timing", MaxEventDelayMinutes, MaxDelay, 2, 2,                                      \
      "Longest pause between two encounters, in minutes: the shortest to 35791 (below it "       \
      "counts as it).",                                                                          \
      "longest pause between encounters")                                                        \
    X("ExcludedPeds", ExcludeShopkeepers, Switch, true, true,                                    \
      "Never pick shopkeepers and other service peds for an encounter.",                         \
      "leave shopkeepers and service peds alone")                                                \
    X("ExcludedPeds", ExcludeWomen, Switch, true, false, "Never pick women for an encounter.",   \
      "leave women alone")

#define TARROWIND_SETTINGS_AFTER_ENCOUNTERS(X)                                                    \
    X("Weather", Sudden_Thunderstorm, Switch, true, false,                                        \
      "A sudden thunderstorm, sometimes with lightning near you, clearing over five minutes.",    \
      "sudden thunderstorm")                                                                      \
    X("Weather", Sudden_Hurricane, Switch, true, false,                                           \
      "A sudden hurricane, clearing over five minutes.", "sudden hurricane")                      \
    X("Weather", Sudden_Fog, Switch, true, false, "A sudden fog, clearing over five minutes.",    \
      "sudden fog")                                                                               \
    X("Weather Timing", Weather_MinEventDelayMinutes, MinDelay, 1, 1,                             \
      "Shortest pause between two weather events, in minutes: 1 to 35791 (below 1 counts as 1).", \
      "shortest pause between weather events")                                                    \
    X("Weather Timing", Weather_MaxEventDelayMinutes, MaxDelay, 2, 2,                             \
      "Longest pause between two weather events, in minutes: the shortest to 35791 (below it "    \
      "counts as it).",                                                                           \
      "longest pause between weather events")

// The section the encounters' switches go under, between the two halves above.
constexpr const char* kEncounterSection = "Encounters";

enum class SettingType { Switch, MinDelay, MaxDelay };

struct ConfigData;

struct SettingRow {
    const char* section;
    std::string key;
    SettingType type;
    int defaultValue;  // a switch: 1 on, 0 off
    int initialValue;
    std::string iniComment;  // lines separated by '\n', without "Default: ..."
    std::string readmeLine;
    // The value in a settings record, and setting it; an encounter's switch is kept by key.
    int (*get)(const ConfigData& config, const std::string& key);
    void (*set)(ConfigData& config, const std::string& key, int value);
};

// Every row: the fixed ones and one switch for each encounter the build knows, in the order
// of the shipped file.
const std::vector<SettingRow>& AllSettings();

// The sections of those rows, each once, in the same order.
const std::vector<const char*>& AllSettingSections();

// "true"/"false" for a switch's value, the number for a delay.
std::string SettingValueText(const SettingRow& row, int value);
