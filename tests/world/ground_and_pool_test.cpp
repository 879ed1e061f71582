// The world as hard as the game: ground and water under new peds, the ground probe and
// collision, the short scan, the ped pool and a flee given again.
#include <gtest/gtest.h>

#include "host/native_invoker.h"
#include "host/native_list.h"
#include "sim/host/stand_in_host.h"
#include "sim/world/joaat.h"
#include "sim/world/world.h"

namespace {

namespace id = native::id;
using native::Invoke;

// A native of the catalogue as the plug-in calls it, its answer read as a truth or a number.
template <typename Id, typename... Args>
bool Ask(Args... args) {
    return Invoke<Id, bool>(args...);
}
template <typename Id, typename... Args>
int32_t Number(Args... args) {
    return Invoke<Id, int32_t>(args...);
}

class GroundAndPoolTest : public ::testing::Test {
  protected:
    GroundAndPoolTest() : host(world) {
        player = world.CreatePlayer(Vec3{0, 0, 10});
        world.settings.modelLoadMs = 0;
        Invoke<id::REQUEST_MODEL, void>(kWolf, true);
        world.AdvanceTo(100);
    }
    int32_t Create(float x, float y, float z) {
        return Number<id::CREATE_PED>(kWolf, x, y, z, 0.0f, true, true, true, true);
    }
    bool Probe(float x, float y, float z, float* ground) {
        return Ask<id::GET_GROUND_Z_FOR_3D_COORD>(x, y, z, ground, false);
    }

    const uint32_t kWolf = Joaat("A_C_Wolf");
    World world{5};
    StandInHost host;
    int32_t player = 0;
};

TEST_F(GroundAndPoolTest, ShapesAndWaterMakeTheGroundTheProbeFinds) {
    world.terrain.AddShape({GroundShape::Kind::Slope, {0, 0, 0}, {100, 0, 0}, 20, 0});
    world.terrain.AddShape({GroundShape::Kind::Cliff, {0, 50, 0}, {0, 60, 0}, 30, 0});
    world.terrain.AddShape({GroundShape::Kind::Ridge, {-50, -100, 0}, {-50, 100, 0}, 8, 20});
    world.terrain.AddWater({WaterBody::Kind::River, {-100, -100, 0}, {-100, 100, 0}, 10, 9, 4});
    float ground = 0;
    ASSERT_TRUE(Probe(50, 0, 100, &ground));
    EXPECT_FLOAT_EQ(ground, 20.0f);  // halfway up the slope
    ASSERT_TRUE(Probe(150, 0, 100, &ground));
    EXPECT_FLOAT_EQ(ground, 30.0f) << "the slope stays at its rise beyond its end";
    EXPECT_FALSE(Probe(150, 0, 10, &ground)) << "a probe started underground finds nothing";
    ASSERT_TRUE(Probe(0, 70, 100, &ground));
    EXPECT_FLOAT_EQ(ground, -20.0f) << "below the cliff";
    ASSERT_TRUE(Probe(-45, 0, 100, &ground));
    EXPECT_FLOAT_EQ(ground, 14.0f) << "on the ridge's flank";
    ASSERT_TRUE(Probe(-100, 0, 100, &ground));
    EXPECT_FLOAT_EQ(ground, 5.0f) << "the river's bed";
    float surface = 0;
    EXPECT_TRUE(Ask<id::GET_WATER_HEIGHT_NO_WAVES>(-100.0f, 0.0f, 5.0f, &surface));
    EXPECT_FLOAT_EQ(surface, 9.0f);
    EXPECT_FALSE(Ask<id::GET_WATER_HEIGHT_NO_WAVES>(-80.0f, 0.0f, 5.0f, &surface));
}

TEST_F(GroundAndPoolTest, FarGroundNeedsCollisionRequestedAFrameBefore) {
    float ground = 0;
    EXPECT_TRUE(Probe(100, 0, 50, &ground));
    EXPECT_FALSE(Probe(400, 0, 50, &ground)) << "no collision this far from the player";
    Invoke<id::REQUEST_COLLISION_AT_COORD, void>(400.0f, 0.0f, 10.0f);
    EXPECT_FALSE(Probe(400, 0, 50, &ground)) << "not within the frame that asked";
    world.AdvanceTo(world.NowMs() + 33);
    EXPECT_TRUE(Probe(410, 0, 50, &ground));
    EXPECT_FALSE(Probe(480, 0, 50, &ground));
    world.terrain.AddVoid(Vec3{90, -10, 0}, Vec3{110, 10, 0});
    EXPECT_FALSE(Probe(100, 0, 50, &ground)) << "past the map's edge";
}

TEST_F(GroundAndPoolTest, APedMadeUnderTheGroundInTheAirOrInDeepWaterPaysForIt) {
    world.terrain.AddShape({GroundShape::Kind::Slope, {0, 0, 0}, {100, 0, 0}, 20, 0});
    world.terrain.AddWater({WaterBody::Kind::Lake, {0, 100, 0}, {}, 40, 11, 5});
    const int32_t buried = Create(50, 0, 10);
    const int32_t aloft = Create(-20, 0, 30);
    const int32_t afloat = Create(0, 100, 10);
    const int32_t standing = Create(25, 0, 15);
    EXPECT_EQ(world.PedsCreatedBelowGround(), 1u);
    EXPECT_EQ(world.PedsCreatedInAir(), 1u);
    EXPECT_EQ(world.PedsCreatedInWater(), 1u);
    EXPECT_FALSE(Ask<id::PLACE_ENTITY_ON_GROUND_PROPERLY>(buried, true));
    EXPECT_TRUE(Ask<id::PLACE_ENTITY_ON_GROUND_PROPERLY>(standing, true));
    EXPECT_TRUE(world.EntityInWater(afloat));
    EXPECT_FALSE(world.EntityInWater(standing));
    world.OrderFlee(buried, player);
    world.AdvanceTo(world.NowMs() + 60000);
    EXPECT_FLOAT_EQ(world.FindPed(buried)->pos.x, 50.0f) << "stuck in the ground";
    EXPECT_FLOAT_EQ(world.FindPed(aloft)->pos.z, 10.0f) << "landed";
    EXPECT_LT(world.FindPed(aloft)->health, 100.0f) << "a 20 m fall hurts";
    EXPECT_TRUE(world.FindPed(afloat)->dead) << "a minute in deep water";
}

TEST_F(GroundAndPoolTest, TheScanIsShortAndThePoolRunsOut) {
    for (int i = 1; i <= 30; ++i) {
        world.AddTownsfolk(Vec3{static_cast<float>(i), 0, 10});
    }
    world.AddTownsfolk(Vec3{0, 56, 10});
    EXPECT_EQ(world.NearbyPeds(player, 100).size(), 20u);
    world.settings.nearbyPedLimit = 100;
    EXPECT_EQ(world.NearbyPeds(player, 100).size(), 30u) << "the one 56 m away is out of reach";

    world.settings.pedPoolSize = static_cast<int>(world.Peds().size()) + 1;
    EXPECT_EQ(Number<id::GET_NUM_FREE_SLOTS_IN_PED_POOL>(), 1);
    EXPECT_NE(Create(5, 5, 10), 0);
    EXPECT_EQ(Number<id::GET_NUM_FREE_SLOTS_IN_PED_POOL>(), 0);
    EXPECT_EQ(Create(6, 6, 10), 0) << "no room in the pool";
}

TEST_F(GroundAndPoolTest, AFleeGivenAgainStartsOverWhileTheStatusSaysItRuns) {
    const int32_t runner = world.AddTownsfolk(Vec3{10, 0, 10});
    const int32_t steady = world.AddTownsfolk(Vec3{-10, 0, 10});
    world.OrderFlee(runner, player);
    world.OrderFlee(steady, player);
    const uint32_t flee = Joaat("SCRIPT_TASK_FLEE");
    EXPECT_EQ(Number<id::GET_SCRIPT_TASK_STATUS>(runner, flee, true), 1);
    for (int second = 0; second < 10; ++second) {
        world.OrderFlee(runner, player);  // the same flee, every second
        world.AdvanceTo(world.NowMs() + 1000);
    }
    const float runnerGot = world.FindPed(runner)->pos.x - 10;
    const float steadyGot = -world.FindPed(steady)->pos.x - 10;
    EXPECT_LT(runnerGot, steadyGot * 0.7f) << "each second begins with starting over";
    world.ClearTasks(runner);
    EXPECT_EQ(Number<id::GET_SCRIPT_TASK_STATUS>(runner, flee, true), 7);
}

}  // namespace
