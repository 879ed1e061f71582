#include "core/settings_table.h"

#include "core/config.h"
#include "encounters/encounter_catalogue.h"

namespace {

// "20:00 to 5:59": the in-game hours an encounter runs, the complement of those it skips.
std::string RunningHours(const SkippedHours& skipped) {
    return std::to_string((skipped.to + 1) % 24) + ":00 to " +
           std::to_string((skipped.from + 23) % 24) + ":59";
}

SettingRow EncounterRow(const CataloguedEncounter& encounter) {
    const EncounterDefinition& definition = *encounter.definition;
    std::string comment = definition.iniComment;
    std::string readme = definition.readmeLine;
    if (definition.skipped.from >= 0) {
        // Before the sentence's full stop: "...nearby; only from 20:00 to 5:59 game time."
        const size_t stop = comment.size() - (!comment.empty() && comment.back() == '.' ? 1 : 0);
        comment.insert(stop, "; only from " + RunningHours(definition.skipped) + " game time");
        readme += " (" + RunningHours(definition.skipped) + ")";
    }
    return SettingRow{kEncounterSection,
                      definition.iniKey,
                      SettingType::Switch,
                      1,
                      1,
                      comment,
                      readme,
                      [](const ConfigData& config, const std::string& key) {
                          return config.EncounterOn(key) ? 1 : 0;
                      },
                      [](ConfigData& config, const std::string& key, int value) {
                          config.encounterSwitches[key] = value != 0;
                      }};
}

std::vector<SettingRow> MakeRows() {
#define TARROWIND_SETTING_ROW(section, key, type, defaultValue, initial, comment, readme)          \
    rows.push_back(SettingRow{                                                                     \
        section, #key, SettingType::type, defaultValue, initial, comment, readme,                  \
        [](const ConfigData& config, const std::string&) { return static_cast<int>(config.key); }, \
        [](ConfigData& config, const std::string&, int value) {                                    \
            config.key = static_cast<SettingField<SettingType::type>>(value);                      \
        }});
    std::vector<SettingRow> rows;
    TARROWIND_SETTINGS_BEFORE_ENCOUNTERS(TARROWIND_SETTING_ROW)
    for (const CataloguedEncounter& encounter : EncounterCatalogue()) {
        rows.push_back(EncounterRow(encounter));
    }
    TARROWIND_SETTINGS_AFTER_ENCOUNTERS(TARROWIND_SETTING_ROW)
#undef TARROWIND_SETTING_ROW
    return rows;
}

}  // namespace

const std::vector<SettingRow>& AllSettings() {
    static const std::vector<SettingRow> rows = MakeRows();
    return rows;
}

const std::vector<const char*>& AllSettingSections() {
    static const std::vector<const char*> sections = [] {
        std::vector<const char*> out;
        for (const SettingRow& row : AllSettings()) {
            if (out.empty() || std::string(out.back()) != row.section) {
                out.push_back(row.section);
            }
        }
        return out;
    }();
    return sections;
}

std::string SettingValueText(const SettingRow& row, int value) {
    if (row.type == SettingType::Switch) {
        return value ? "true" : "false";
    }
    return std::to_string(value);
}
