// Where event 3 puts its predator down, over each kind of ground: the animal must stand on
// the ground, dry, within reach of its prey wherever ground exists, and the encounter must give
// up cleanly where none does.

#include <cctype>
#include <cmath>

#include "encounter_fixture.h"
#include "encounters/event3_animal_aggressor.h"

namespace {

const std::string kAbortError = "Failed to spawn animal after multiple attempts, aborting event";

struct GroundCase {
    const char* name;
    std::function<void(Terrain&)> lay;
    bool groundExists;
};

// The prey stands 10 m east of the player (at 110, 200; the flat ground at height 10).
const GroundCase kGroundCases[] = {
    {"uphill to the east",
     [](Terrain& t) {
         t.AddShape({GroundShape::Kind::Slope, {110, 200, 0}, {170, 200, 0}, 30, 0});
     },
     true},
    {"downhill to the east",
     [](Terrain& t) {
         t.AddShape({GroundShape::Kind::Slope, {110, 200, 0}, {170, 200, 0}, -30, 0});
     },
     true},
    {"at the foot of a cliff rising 40 m to the east",
     [](Terrain& t) {
         t.AddShape({GroundShape::Kind::Cliff, {130, 200, 0}, {140, 200, 0}, -40, 0});
     },
     true},
    {"on the edge of a cliff falling 60 m to the east",
     [](Terrain& t) {
         t.AddShape({GroundShape::Kind::Cliff, {125, 200, 0}, {135, 200, 0}, 60, 0});
     },
     true},
    {"a ridge across the way",
     [](Terrain& t) {
         t.AddShape({GroundShape::Kind::Ridge, {160, 100, 0}, {160, 300, 0}, 25, 40});
     },
     true},
    {"a deep river east of the prey",
     [](Terrain& t) {
         t.AddWater({WaterBody::Kind::River, {150, 0, 0}, {150, 400, 0}, 30, 9, 4});
     },
     true},
    {"nothing but water",
     [](Terrain& t) {
         t.AddWater({WaterBody::Kind::Lake, {110, 200, 0}, {}, 600, 10.5f, 3});
     },
     false},
    {"no ground at all around",
     [](Terrain& t) {
         t.AddVoid(Vec3{-1000, -1000, 0}, Vec3{1000, 1000, 0});
     },
     false},
};

void PrintTo(const GroundCase& ground, std::ostream* out) {
    *out << ground.name;
}

class PredatorSpawnTest : public EncounterTest, public ::testing::WithParamInterface<GroundCase> {};

TEST_P(PredatorSpawnTest, TheAnimalStandsOnDryGroundNearItsPreyOrTheEncounterGivesUp) {
    const GroundCase& ground = GetParam();
    ground.lay(world.terrain);
    const int32_t prey = world.AddTownsfolk(Near(10));
    StartFocused(event3_animal_aggressor);
    if (!ground.groundExists) {
        FinishFocused();
        EXPECT_TRUE(Logged(kAbortError));
        EXPECT_TRUE(Calls<id::CREATE_PED>().empty());
        EXPECT_TRUE(LeftNothing());
        return;
    }
    ASSERT_TRUE(RunUntil("Initiating animal attack on victim: " + S(prey)));
    const int32_t animal = PedFromLine("Spawned ped ");
    const SimPed* spawned = world.FindPed(animal);
    ASSERT_NE(spawned, nullptr);
    const Vec3 at = spawned->pos;
    EXPECT_NEAR(at.z, world.terrain.GroundHeight(at.x, at.y), 0.01f);
    EXPECT_EQ(world.terrain.WaterDepth(at.x, at.y), 0.0f);
    const Vec3 preyAt = world.FindPed(prey)->pos;
    EXPECT_NEAR(std::hypot(at.x - preyAt.x, at.y - preyAt.y), 50.0f, 0.1f);
    EXPECT_EQ(world.PedsCreatedBelowGround(), 0u);
    EXPECT_EQ(world.PedsCreatedInWater(), 0u);
    EXPECT_EQ(world.PedsCreatedInAir(), 0u);
    // Placed on the ground in the frame it was made in.
    const auto created = Calls<id::CREATE_PED>();
    const auto placed = Calls<id::PLACE_ENTITY_ON_GROUND_PROPERLY>(animal);
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].atMs, created.back().atMs);
    world.KillPed(animal);
    FinishFocused();
    EXPECT_TRUE(LeftNothing());
}

INSTANTIATE_TEST_SUITE_P(EachKindOfGround, PredatorSpawnTest, ::testing::ValuesIn(kGroundCases),
                         [](const ::testing::TestParamInfo<GroundCase>& param) {
                             std::string name;
                             for (const char* c = param.param.name; *c != '\0'; ++c) {
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             }
                             return name;
                         });

class PredatorSpawnRulesTest : public EncounterTest {};

// A river east makes the next attempts try other bearings, not the same wet spot again.
TEST_F(PredatorSpawnRulesTest, EachAttemptTriesAnotherBearingAwayFromThePlayer) {
    world.terrain.AddWater({WaterBody::Kind::Lake, {160, 200, 0}, {}, 80, 11, 4});
    const int32_t prey = world.AddTownsfolk(Near(10));
    StartFocused(event3_animal_aggressor);
    ASSERT_TRUE(RunUntil("Initiating animal attack on victim: " + S(prey)));
    world.KillPed(PedFromLine("Spawned ped "));
    FinishFocused();
    const auto asked = Calls<id::REQUEST_COLLISION_AT_COORD>();
    ASSERT_GE(asked.size(), 2u);
    for (size_t i = 1; i < asked.size(); ++i) {
        EXPECT_NE(Args(asked[i]), Args(asked[i - 1])) << "attempt " << i + 1;
    }
    EXPECT_EQ(LinesFrom({"Water at ("}).size(), asked.size() - 1);
    // The first spot lies beyond the prey as seen from the player: due east here.
    EXPECT_EQ(Args(asked[0]), Pushed(160.0f, 200.0f, 10.0f));
}

// In a crowded town the game has no room for another ped: nothing is made or left.
TEST_F(PredatorSpawnRulesTest, AFullPedPoolSkipsTheSpawnCleanly) {
    world.AddTownsfolk(Near(10));
    world.AddTownsfolk(Near(12));
    world.settings.pedPoolSize = static_cast<int>(world.Peds().size());
    RunFocused(event3_animal_aggressor);
    EXPECT_TRUE(Logged("No room for another ped, event3_animal_aggressor skipped"));
    EXPECT_TRUE(Calls<id::CREATE_PED>().empty());
    EXPECT_TRUE(Calls<id::REQUEST_MODEL>().empty());
    EXPECT_FALSE(Logged(kAbortError));
    EXPECT_TRUE(LeftNothing());
}

}  // namespace
