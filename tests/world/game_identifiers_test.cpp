// The simulated world may only use identifiers the game has (a made-up name would agree with
// the same mistake in the plug-in): its catalogue, its own groups and every string of a shipped
// scenario are checked against the identifier reference.
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

uint32_t HashOf(const std::string& text) {
    return text.rfind("0x", 0) == 0 ? static_cast<uint32_t>(std::stoul(text, nullptr, 16))
                                    : Joaat(text);
}

// Identifiers the world uses, each with where it is used; collects those the game lacks.
class IdentifierCheck {
  public:
    // Columns: identifier, kind, found_in_game, evidence, note. A name row is kept under the
    // hash of the name, a hash row ("0x...") under its value.
    IdentifierCheck() {
        for (const auto& fields : ReadReferenceTable("identifiers-reference.tsv")) {
            ++rows;
            if (fields[2] == "no") {
                absentFromGame_[HashOf(fields[0])] = fields[0] + " (" + fields[4] + ")";
            }
        }
    }

    void Use(uint32_t hash, const std::string& where) {
        const auto row = absentFromGame_.find(hash);
        if (row != absentFromGame_.end()) {
            absent.push_back(where + ": " + row->second + " is not in the game");
        }
    }

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
            Use(static_cast<uint32_t>(entry.first), where + " relationship");
        }
        Use(world.Environment().BaseWeather(), where + " weather");
    }

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

    size_t rows = 0;
    std::vector<std::string> absent;

  private:
    std::map<uint32_t, std::string> absentFromGame_;
};

TEST(GameIdentifiers, TheWorldAndTheShippedScenariosUseOnlyNamesTheGameHas) {
    IdentifierCheck check;
    ASSERT_GT(check.rows, 100u) << "identifier reference not found";
    for (const PedModel& model : PedModels()) {
        check.Use(Joaat(model.name), "ped model");
        check.Use(Joaat(model.group), "group of " + model.name);
    }
    for (const VehicleModel& model : VehicleModels()) {
        check.Use(model.hash, "vehicle model " + model.name);
    }
    // The groups and relationships a world keeps before any script runs.
    World world(1);
    world.CreatePlayer(Vec3{0, 0, 0});
    world.CreatePlayerHorse(Vec3{2, 0, 0});
    check.UseWorld(world, "new world");

    int scenarios = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(TARROWIND_SOURCE_DIR) + "/scenarios")) {
        if (entry.path().extension() != ".json") {
            continue;
        }
        ++scenarios;
        const std::string name = entry.path().filename().string();  // as written, and as built
        check.UseStrings(nlohmann::json::parse(std::ifstream(entry.path()), nullptr, true, true),
                         name);
        World built(1);
        std::string error;
        ASSERT_TRUE(LoadScenarioFile(entry.path().string(), built, nullptr, &error)) << error;
        check.UseWorld(built, name);
    }
    EXPECT_GE(scenarios, 3);
    EXPECT_TRUE(check.absent.empty()) << ::testing::PrintToString(check.absent);
}

}  // namespace
