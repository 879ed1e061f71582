// The simulated world may only use identifiers the game has: a model, group or weather name it
// made up would agree with the same mistake in the plug-in and hide it. Every name in the
// world's catalogue, every group the world keeps by itself and every string of a shipped
// scenario is checked against the identifier reference; one it marks as absent from the game
// fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "sim/world/joaat.h"
#include "sim/world/model_catalogue.h"
#include "sim/world/scenario_file.h"
#include "sim/world/world.h"
#include "support/reference_table.h"

namespace {

struct ReferenceRow {
    std::string identifier;
    bool absent = false;  // found_in_game is "no"
    std::string note;
};

// A hash written "0x...", or the game's hash of a name.
uint32_t HashOf(const std::string& text) {
    return text.rfind("0x", 0) == 0 ? static_cast<uint32_t>(std::stoul(text, nullptr, 16))
                                    : Joaat(text);
}

// By hash: a name row under the hash of the name, a hash row ("0x...") under its value.
// Columns: identifier, kind, found_in_game, evidence, note.
std::map<uint32_t, ReferenceRow> LoadReference() {
    std::map<uint32_t, ReferenceRow> rows;
    for (const auto& fields : ReadReferenceTable("identifiers-reference.tsv")) {
        rows[HashOf(fields[0])] = ReferenceRow{fields[0], fields[2] == "no", fields[4]};
    }
    return rows;
}

// Identifiers the world uses, each with where it is used; reports those the game lacks.
class IdentifierCheck {
  public:
    IdentifierCheck() : reference_(LoadReference()) {}

    size_t ReferenceSize() const { return reference_.size(); }

    void Use(uint32_t hash, const std::string& where) {
        auto row = reference_.find(hash);
        if (row != reference_.end() && row->second.absent) {
            absent_.push_back(where + ": " + row->second.identifier + " is not in the game (" +
                              row->second.note + ")");
        }
    }
    void Use(const std::string& identifier, const std::string& where) {
        Use(Joaat(identifier), where);
    }

    // Everything in a world: its peds' models and groups, its vehicles' models, the groups
    // of its relationships and its weather.
    void UseWorld(const World& world, const std::string& where) {
        for (const auto& entry : world.Peds()) {
            Use(entry.second.model, where + " ped model");
            Use(entry.second.group, where + " ped group");
        }
        for (const auto& entry : world.Vehicles()) {
            Use(entry.second.model, where + " vehicle model");
        }
        for (const auto& entry : world.Relationships()) {
            Use(static_cast<uint32_t>(entry.first >> 32), where + " relationship");
            Use(static_cast<uint32_t>(entry.first & 0xFFFFFFFFu), where + " relationship");
        }
        Use(world.Environment().BaseWeather(), where + " weather");
    }

    // Every string of a JSON document, names and hashes ("0x...") alike.
    void UseStrings(const nlohmann::json& value, const std::string& where) {
        if (value.is_string()) {
            Use(HashOf(value.get<std::string>()), where);
        }
        if (value.is_structured()) {
            for (const auto& item : value) {
                UseStrings(item, where);
            }
        }
    }

    const std::vector<std::string>& Absent() const { return absent_; }

  private:
    std::map<uint32_t, ReferenceRow> reference_;
    std::vector<std::string> absent_;
};

void UseCatalogue(IdentifierCheck& check) {
    for (const PedModel& model : PedModels()) {
        check.Use(model.name, "ped model");
        check.Use(model.group, "group of " + model.name);
    }
    for (const VehicleModel& model : VehicleModels()) {
        check.Use(model.hash, "vehicle model " + model.name);
    }
}

std::vector<std::filesystem::path> ShippedScenarios() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(TARROWIND_SOURCE_DIR) + "/scenarios")) {
        if (entry.path().extension() == ".json") {
            files.push_back(entry.path());
        }
    }
    return files;
}

TEST(GameIdentifiers, TheWorldAndTheShippedScenariosUseOnlyNamesTheGameHas) {
    IdentifierCheck check;
    ASSERT_GT(check.ReferenceSize(), 100u) << "identifier reference not found";

    UseCatalogue(check);
    // The groups and relationships a world keeps before any script runs.
    World world(1);
    world.CreatePlayer(Vec3{0, 0, 0});
    world.CreatePlayerHorse(Vec3{2, 0, 0});
    check.UseWorld(world, "new world");

    const auto scenarios = ShippedScenarios();
    EXPECT_GE(scenarios.size(), 3u);
    for (const auto& path : scenarios) {
        // The names as written (the timeline's too), and the world built from them.
        std::ifstream in(path);
        const std::string name = path.filename().string();
        check.UseStrings(nlohmann::json::parse(in, nullptr, true, true), name);
        World built(1);
        std::string error;
        ASSERT_TRUE(LoadScenarioFile(path.string(), built, nullptr, &error)) << error;
        check.UseWorld(built, name);
    }
    EXPECT_TRUE(check.Absent().empty()) << ::testing::PrintToString(check.Absent());
}

}  // namespace
