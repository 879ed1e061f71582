// The look around the player and the candidate pass of the confrontation encounters, against
// a street holding one ped of every kind the filter has to tell apart.

#include "core/config.h"
#include "encounter_fixture.h"
#include "world/nearby_scan.h"

namespace {

std::vector<Ped> gCandidates;

void CollectCandidates() {
    gCandidates = CollectConfrontationCandidates(ScanNearbyPeds(100));
}

class CandidateFilterTest : public EncounterTest {
  protected:
    // One ped of each kind, each at its own distance so the scan order is known.
    void BuildStreet() {
        world.CreatePlayerHorse(Near(1));
        townsman = world.AddTownsfolk(Near(2));
        world.FindPed(world.AddTownsfolk(Near(3)))->missionEntity = true;
        const char* const kProtectedGroups[] = {"REL_COP", "REL_GANG_DUTCHS",
                                                "REL_GANG_DUTCHS_HORSES", "REL_WILD_ANIMAL_BIRD",
                                                "REL_DOMESTICATED_ANIMAL"};
        float dx = 4;
        for (const char* group : kProtectedGroups) {
            AddInGroup(Near(dx++), group);
        }
        deer = world.AddAnimal("A_C_Deer_01", Near(10));
        // The world's predators are wild animals off the huntable list.
        world.AddAnimal("A_C_Wolf", Near(11));
        world.AddAnimal("A_C_Cougar_01", Near(12));
        world.KillPed(world.AddTownsfolk(Near(13)));
        world.AddWagonWithDriver("CART01", Near(14));
        woman = world.AddTownsfolk(Near(15), false);
        doe = world.AddAnimal("A_C_Deer_01", Near(16));
        world.FindPed(doe)->male = false;
        gunsmith = world.AddShopkeeper(Near(17));
        exoticsDealer = AddShopkeeper(Near(18), "U_M_M_SDExoticsShopkeeper_01");
        bartender = AddShopkeeper(Near(19), "U_M_O_ValBartender_01");
        atEdge = world.AddTownsfolk(Near(0, 100.0f));
        world.AddTownsfolk(Near(0, 100.01f));
    }

    void RunWith(bool excludeShopkeepers, bool excludeWomen) {
        StartFocused(CollectCandidates);
        Config.ExcludeShopkeepers = excludeShopkeepers;
        Config.ExcludeWomen = excludeWomen;
        FinishFocused();
    }

    int32_t townsman = 0, deer = 0, woman = 0, doe = 0, gunsmith = 0, exoticsDealer = 0,
            bartender = 0, atEdge = 0;
};

TEST_F(CandidateFilterTest, WomenFemaleAnimalsAndShopkeepersAreLeftOutOnlyWhenAsked) {
    BuildStreet();
    RunWith(false, false);
    EXPECT_EQ(gCandidates, (std::vector<Ped>{townsman, deer, woman, doe, gunsmith, exoticsDealer,
                                             bartender, atEdge}));
    EXPECT_TRUE(Logged("Found 20 nearby peds"));
    const HostCall scan = Calls<id::GET_PED_NEARBY_PEDS>().at(0);
    EXPECT_EQ(std::make_pair(ArgInt(scan, 2), ArgInt(scan, 3)), std::make_pair(-1, -1));
    EXPECT_TRUE(Logged("Player Position: 100.000000, 200.000000, 10.000000"));
    EXPECT_TRUE(Logged("Valid ped found " + S(atEdge) + " at distance: 100.000000m"));
    EXPECT_FALSE(Logged("Excluded shopkeeper found: U_M_M_ValGunsmith_01"));

    RunWith(true, true);
    EXPECT_EQ(gCandidates, (std::vector<Ped>{townsman, deer, atEdge}));
    EXPECT_TRUE(Logged("Excluded shopkeeper found: U_M_M_ValGunsmith_01"));
    // Models compare by hash, so the list's spelling is what the line shows.
    EXPECT_TRUE(Logged("Excluded shopkeeper found: U_M_M_SDEXOTICSSHOPKEEPER_01"));
    // The game's Valentine bartender, the last name on the list.
    EXPECT_TRUE(Logged("Excluded shopkeeper found: U_M_O_ValBartender_01"));
}

// A query that hands back the player, the player's horse, and claims far more peds than the
// buffer offered.
void OverfullQuery(World& w, const NativeArgs& args, NativeResult& result) {
    uint64_t* buffer = args.Pointer<uint64_t>(1);
    const int capacity = static_cast<int>(buffer[0]);
    int32_t other = 0;
    for (const auto& entry : w.Peds()) {
        if (!entry.second.isPlayer && !entry.second.isPlayerHorse) {
            other = entry.first;
        }
    }
    buffer[1] = static_cast<uint32_t>(w.PlayerPed());
    buffer[2] = static_cast<uint32_t>(w.PlayerHorse());
    for (int i = 3; i <= capacity; ++i) {
        buffer[i] = static_cast<uint32_t>(other);
    }
    result.SetInt(capacity + 400);
}

TEST_F(CandidateFilterTest, ThePlayerAndHorseAreNeverCandidatesAndTheCountIsNotTrusted) {
    world.CreatePlayerHorse(Near(1));
    townsman = world.AddTownsfolk(Near(2));
    StartFocused(CollectCandidates);
    run->Host().OverrideNative(id::GET_PED_NEARBY_PEDS::kHash, OverfullQuery);
    FinishFocused();
    EXPECT_TRUE(Logged("Found 500 nearby peds"));
    ASSERT_EQ(gCandidates.size(), 98u);
    for (const Ped ped : gCandidates) {
        EXPECT_EQ(ped, townsman);
    }
}

}  // namespace
