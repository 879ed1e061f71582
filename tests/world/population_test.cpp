// The world's housekeeping: what vanishes and when, the ambient population, the run's figures.
#include <gtest/gtest.h>

#include "sim/world/joaat.h"
#include "sim/world/world.h"

namespace {

class PopulationTest : public ::testing::Test {
  protected:
    PopulationTest() { player = world.CreatePlayer(Vec3{0, 0, 0}); }
    void RunFor(uint64_t ms) { world.AdvanceTo(world.NowMs() + ms); }
    bool Exists(int32_t entity) const { return world.EntityExists(entity); }
    // Living peds within range of the player.
    int Around(float range) const {
        const Vec3 centre = world.EntityPosition(player, false);
        int count = 0;
        for (const auto& entry : world.Peds()) {
            if (!entry.second.isPlayer && !entry.second.dead &&
                Distance(world.EntityPosition(entry.first, false), centre) <= range) {
                ++count;
            }
        }
        return count;
    }

    World world{11};
    int32_t player = 0;
};

TEST_F(PopulationTest, FarPedsAndVehiclesVanishUnlessAScriptOwnsThemOrSomeoneAboard) {
    const int32_t stranger = world.AddTownsfolk(Vec3{300, 0, 0});
    const int32_t owned = world.AddTownsfolk(Vec3{0, 300, 0});
    const int32_t ownedRider = world.AddRider(Vec3{-300, 0, 0});
    const int32_t near = world.AddTownsfolk(Vec3{0, 240, 0});
    const int32_t passing = world.AddWagonWithDriver("CART01", Vec3{400, 0, 0}, 1);
    const int32_t driver = world.FindVehicle(passing)->occupants.at(-1);
    const int32_t kept = world.AddWagonWithDriver("CART03", Vec3{0, 400, 0});
    const int32_t abandoned = world.AddVehicleOfModel("HANDCART", Vec3{20, 0, 0});
    world.FindPed(player)->missionEntity = true;
    for (int32_t ped : {owned, ownedRider, world.FindVehicle(kept)->occupants.at(-1)}) {
        world.FindPed(ped)->missionEntity = true;
    }
    EXPECT_EQ(world.OwnedPedCount(), 3u) << "the player is not counted";
    RunFor(1000);
    for (int32_t gone : {stranger, passing, driver}) {
        EXPECT_FALSE(Exists(gone)) << gone;
    }
    const int32_t horse = world.FindPed(ownedRider)->mount;  // goes where his rider goes
    for (int32_t stays : {owned, ownedRider, horse, near, kept, abandoned}) {
        EXPECT_TRUE(Exists(stays)) << stays;
    }
    RunFor(world.settings.abandonedVehicleLifetimeMs);
    EXPECT_FALSE(Exists(abandoned)) << "an empty vehicle nobody owns is cleared away";
}

TEST_F(PopulationTest, TheDeadLieAWhileTheTiedWorkFreeAndEachDeathCountsOnce) {
    const int32_t body = world.AddTownsfolk(Vec3{10, 0, 0});
    const int32_t held = world.AddTownsfolk(Vec3{12, 0, 0});
    const int32_t tied = world.AddTownsfolk(Vec3{14, 0, 0});
    const int32_t hurt = world.AddTownsfolk(Vec3{6, 0, 0});
    world.FindPed(held)->missionEntity = true;
    for (int32_t ped : {body, body, held, player}) {
        world.KillPed(ped);
    }
    world.HurtPed(hurt, 200);
    world.HogtiePed(tied);
    EXPECT_EQ(world.PedsKilled(), 4u) << "the body once, the player too";
    const WorldSettings& s = world.settings;
    world.AdvanceTo(s.playerRespawnMs + 1000);
    EXPECT_FALSE(world.FindPed(player)->dead) << "the player gets up again";
    world.AdvanceTo(s.corpseLifetimeMs - 1000);
    EXPECT_TRUE(Exists(body));
    world.AdvanceTo(s.corpseLifetimeMs + 1000);
    EXPECT_FALSE(Exists(body));
    world.AdvanceTo(s.hogtieEscapeMs - 1000);
    EXPECT_TRUE(world.FindPed(tied)->hogtied);
    world.AdvanceTo(s.hogtieEscapeMs + 1000);
    EXPECT_FALSE(world.FindPed(tied)->hogtied);
    EXPECT_TRUE(world.FindPed(tied)->fleeing);
    RunFor(3600000);
    EXPECT_TRUE(Exists(held)) << "an owned corpse is a leak the world must show";
}

TEST_F(PopulationTest, AmbientModeKeepsNewPedsComingAroundThePlayer) {
    PopulationSettings& population = world.settings.population;
    population.enabled = true;
    population.targetPeds = 20;
    population.minDistance = 40;
    population.maxDistance = 80;
    RunFor(30000);
    EXPECT_GE(Around(80), 20);
    EXPECT_EQ(world.PedsSpawned(), world.Peds().size() - 1) << "every ped but the player";
    EXPECT_EQ(world.OwnedPedCount(), 0u) << "nobody owns the ambient population";

    // The player walks 2 km off: the old crowd is left behind and a new one gathers.
    world.PlayerPath().MoveTo(Vec3{2000, 0, 0}, 10.0f);
    RunFor(240000);
    EXPECT_GE(Around(80), 20);
    EXPECT_LT(world.Peds().size(), 80u) << "the old crowd despawned";
}

TEST_F(PopulationTest, TheMixDecidesWhatAppears) {
    PopulationSettings& population = world.settings.population;
    population.enabled = true;
    population.targetPeds = 10;
    population.mix = {{PopulationKind::Wolves, 1.0}};
    RunFor(10000);
    ASSERT_GE(world.Peds().size(), 11u);
    for (const auto& entry : world.Peds()) {
        EXPECT_TRUE(entry.second.isPlayer || entry.second.modelName == "A_C_Wolf");
    }
}

}  // namespace
