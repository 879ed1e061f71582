// What orders do to the world over virtual time: fights, flight, robbery, boarding and
// driving off, a bucking horse, the player's path.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "host/natives.h"
#include "sim/world/joaat.h"
#include "sim/world/world.h"

namespace {

class BehaviourTest : public ::testing::Test {
  protected:
    BehaviourTest() { player = world.CreatePlayer(Vec3{0, 0, 0}); }

    // Lets time pass in frames until the condition holds; false if maxMs pass first.
    bool RunUntil(const std::function<bool()>& condition, uint64_t maxMs) {
        const uint64_t end = world.NowMs() + maxMs;
        while (world.NowMs() < end) {
            world.AdvanceTo(world.NowMs() + 33);
            if (condition()) {
                return true;
            }
        }
        return false;
    }
    void RunFor(uint64_t ms) { world.AdvanceTo(world.NowMs() + ms); }
    // A ped a script owns, so it never despawns.
    int32_t Owned(int32_t ped) {
        world.FindPed(ped)->missionEntity = true;
        return ped;
    }
    float Apart(int32_t a, int32_t b) const {
        return Distance(world.EntityPosition(a, false), world.EntityPosition(b, false));
    }
    const SimPed& Ped(int32_t handle) const {
        const SimPed* ped = world.FindPed(handle);
        if (ped == nullptr) {
            throw std::logic_error("ped " + std::to_string(handle) + " is gone");
        }
        return *ped;
    }

    World world{3};
    int32_t player = 0;
};

TEST_F(BehaviourTest, AnArmedAttackerWoundsThenKillsFromRange) {
    const int32_t gunman = Owned(world.AddPedOfModel("A_M_M_ValCriminals_01", Vec3{20, 0, 0}));
    const int32_t victim = Owned(world.AddTownsfolk(Vec3{30, 0, 0}));
    world.OrderCombat(gunman, victim, false);

    bool sawWounded = false;
    ASSERT_TRUE(RunUntil(
        [&] {
            sawWounded = sawWounded || Ped(victim).Injured();
            EXPECT_FALSE(Ped(gunman).inMelee) << "a gunman keeps his distance";
            return Ped(victim).dead;
        },
        120000));
    EXPECT_TRUE(sawWounded) << "wounded before dying";
    EXPECT_EQ(world.PedsKilled(), 1u);
    RunFor(200);
    EXPECT_EQ(Ped(gunman).task.kind, TaskKind::None) << "the fight ends with its target";
    EXPECT_EQ(Ped(gunman).combatTarget, 0);
}

TEST_F(BehaviourTest, AnUnarmedAttackerClosesInAndFightsHandToHand) {
    const int32_t brawler = world.AddTownsfolk(Vec3{25, 0, 0});
    const int32_t victim = world.AddTownsfolk(Vec3{40, 0, 0});
    world.OrderCombat(brawler, victim, false);
    ASSERT_TRUE(RunUntil([&] { return Ped(brawler).inMelee; }, 10000));
    EXPECT_LT(Apart(brawler, victim), 2.0f);
    ASSERT_TRUE(RunUntil([&] { return Ped(victim).health < 100.0f; }, 20000));
    // Struck and left to himself, the victim answers in kind or runs.
    EXPECT_TRUE(Ped(victim).task.kind == TaskKind::Combat || Ped(victim).fleeing);
}

TEST_F(BehaviourTest, APredatorChargesDownItsPrey) {
    const int32_t wolf = world.AddAnimal("A_C_Wolf", Vec3{60, 0, 0});
    const int32_t victim = Owned(world.AddTownsfolk(Vec3{10, 0, 0}));
    world.OrderCombat(wolf, victim, true);
    ASSERT_TRUE(RunUntil([&] { return Ped(wolf).inMelee; }, 15000));
    EXPECT_TRUE(RunUntil([&] { return Ped(victim).dead || Ped(victim).fleeing; }, 60000));
}

TEST_F(BehaviourTest, LawmenGoAfterCriminalsOfTheirOwnAccord) {
    const int32_t lawman = world.AddLawman(Vec3{15, 0, 0});
    const int32_t outlaw = Owned(world.AddTownsfolk(Vec3{30, 0, 0}));
    RunFor(2000);
    EXPECT_EQ(Ped(lawman).task.kind, TaskKind::None) << "a townsman is no business of the law";
    world.FindPed(outlaw)->group = Joaat("REL_CRIMINALS");
    RunFor(1100);
    EXPECT_EQ(Ped(lawman).task.kind, TaskKind::Combat);
    EXPECT_EQ(Ped(lawman).combatTarget, outlaw);
    Owned(lawman);  // so the chase cannot despawn him
    EXPECT_TRUE(RunUntil([&] { return Ped(outlaw).dead || Ped(outlaw).hogtied; }, 120000));
}

TEST_F(BehaviourTest, AFleeingPedKeepsRunning) {
    const int32_t ped = Owned(world.AddTownsfolk(Vec3{5, 0, 0}));
    world.OrderFlee(ped, player);
    RunFor(10000);
    EXPECT_GT(Apart(ped, player), 45.0f);
    EXPECT_TRUE(Ped(ped).fleeing);
    RunFor(120000);
    EXPECT_GT(Apart(ped, player), world.settings.despawnRange);
}

TEST_F(BehaviourTest, ARobberyRunsForAWhileThenEnds) {
    const int32_t robber = world.AddTownsfolk(Vec3{15, 0, 0});
    const int32_t victim = Owned(world.AddTownsfolk(Vec3{20, 5, 0}));
    world.OrderRob(robber, victim);
    const auto status = [&](uint32_t task) { return world.ScriptTaskStatus(robber, task); };
    EXPECT_EQ(status(game_constant::kRobberyTask), 1);
    ASSERT_TRUE(RunUntil([&] { return Apart(robber, victim) <= 1.6f; }, 20000));
    const uint64_t reached = world.NowMs();
    RunFor(20000);
    EXPECT_EQ(status(game_constant::kRobberyTask), 1) << "still at it 20 s later";
    EXPECT_EQ(status(0x12345678u), 7) << "no such task running";
    ASSERT_TRUE(RunUntil([&] { return status(game_constant::kRobberyTask) != 1; }, 60000));
    EXPECT_GE(world.NowMs() - reached, 25000u);
}

TEST_F(BehaviourTest, BoardingTakesTheDriversSeatAndPushesTheDriverOffOrGivesUpAtItsTimeout) {
    const int32_t wagon = world.AddWagonWithDriver("CART01", Vec3{20, 20, 0});
    const int32_t driver = world.FindVehicle(wagon)->occupants.at(-1);
    const int32_t robber = world.AddTownsfolk(Vec3{5, 5, 0});
    world.OrderEnterVehicle(robber, wagon, 60000, -1, 3.0f);
    const int32_t walker = Owned(world.AddTownsfolk(Vec3{5, 0, 0}));
    world.OrderEnterVehicle(walker, world.AddVehicleOfModel("CART03", Vec3{200, 0, 0}), 5000, -1,
                            1.0f);
    RunFor(2000);
    EXPECT_EQ(Ped(robber).vehicle, 0) << "it takes a while to get there";
    ASSERT_TRUE(RunUntil([&] { return Ped(robber).vehicle == wagon; }, 30000));
    EXPECT_EQ(Ped(robber).seat, -1);
    EXPECT_EQ(world.FindVehicle(wagon)->occupants.at(-1), robber);
    EXPECT_EQ(Ped(driver).vehicle, 0);
    EXPECT_LT(Apart(driver, robber), 5.0f) << "thrown down beside the wagon";
    EXPECT_EQ(Ped(robber).task.kind, TaskKind::None);
    RunFor(4000);  // past the walker's 5 s
    EXPECT_EQ(Ped(walker).task.kind, TaskKind::None);
    EXPECT_EQ(Ped(walker).vehicle, 0);
}

TEST_F(BehaviourTest, ADriverDrivesOffWithHisPassengers) {
    const int32_t wagon = world.AddWagonWithDriver("CART02", Vec3{10, 0, 0}, 1);
    const int32_t driver = Owned(world.FindVehicle(wagon)->occupants.at(-1));
    const int32_t passenger = world.FindVehicle(wagon)->occupants.at(0);
    const Vec3 start = world.FindVehicle(wagon)->pos;
    world.OrderDriveWander(driver, wagon, 3.0f);
    RunFor(20000);
    EXPECT_NEAR(Distance(start, world.FindVehicle(wagon)->pos), 60.0f, 1.0f);
    EXPECT_EQ(Ped(passenger).vehicle, wagon);
}

TEST_F(BehaviourTest, ABuckingHorseThrowsItsRiderAndBoltsOrCarriesHimOff) {
    const int32_t thrown = world.AddRider(Vec3{10, 0, 0});
    const int32_t carried = world.AddRider(Vec3{-10, 0, 0});
    const int32_t bolter = Ped(thrown).mount;
    const int32_t runaway = Ped(carried).mount;
    world.OrderThrowRider(bolter, true);
    world.OrderThrowRider(runaway, false);
    EXPECT_EQ(Ped(thrown).mount, 0);
    EXPECT_EQ(Ped(bolter).rider, 0);
    EXPECT_TRUE(Ped(bolter).fleeing);
    RunFor(5000);
    EXPECT_GT(Apart(thrown, bolter), 40.0f) << "the rider lands while the horse bolts";
    EXPECT_EQ(Ped(carried).mount, runaway);
    EXPECT_GT(Distance(world.EntityPosition(carried, false), Vec3{-10, 0, 0}), 30.0f);
    ASSERT_TRUE(RunUntil([&] { return !Ped(bolter).fleeing; }, 20000)) << "bolting ends";
}

TEST_F(BehaviourTest, ThePlayerFollowsHisPathAtItsPaceOnFootOrOnHorseback) {
    world.PlayerPath().Set(
        {PathPoint{Vec3{30, 0, 0}, 1.5f, 10.0}, PathPoint{Vec3{30, 40, 0}, 4.0f, 0}}, false);
    RunFor(10000);
    EXPECT_NEAR(world.EntityPosition(player, false).x, 15.0f, 0.2f);
    RunFor(15000);  // 20 s to get there, then a 10 s pause
    EXPECT_NEAR(world.EntityPosition(player, false).x, 30.0f, 0.01f);
    EXPECT_NEAR(world.EntityPosition(player, false).y, 0.0f, 0.01f);
    RunFor(10000);  // 5 s on the way at 4 m/s
    EXPECT_NEAR(world.EntityPosition(player, false).y, 20.0f, 0.2f);
    RunFor(60000);
    EXPECT_NEAR(world.EntityPosition(player, false).y, 40.0f, 0.01f);

    const int32_t horse = world.CreatePlayerHorse(Vec3{30, 40, 0});
    world.MountPed(player, horse);
    world.PlayerPath().MoveTo(Vec3{30, 140, 0}, 8.0f);
    RunFor(5000);
    EXPECT_NEAR(world.EntityPosition(horse, true).y, 80.0f, 0.5f);
    EXPECT_EQ(Ped(player).mount, horse);
}

}  // namespace
