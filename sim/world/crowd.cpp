#include "sim/world/crowd.h"

#include <cmath>

#include "sim/world/world.h"

void BuildCrowdWorld(World& world, int peds) {
    world.CreatePlayer(Vec3{});
    world.Environment().SetClock(22, 0);
    for (int i = 0; i < peds; ++i) {
        const float angle = static_cast<float>(i) * 2.399963f;
        const float radius = 5.0f + static_cast<float>(i % 17) * 5.0f;
        const Vec3 pos{radius * std::cos(angle), radius * std::sin(angle), 0.0f};
        switch (i % 20) {
            case 0:
            case 1:
                world.AddLawman(pos);
                break;
            case 2:
                world.AddShopkeeper(pos);
                break;
            case 3:
            case 4:
                world.AddRider(pos);
                break;
            case 5:
                world.AddWagonWithDriver("CART01", pos, 1);
                ++i;  // the passenger counts too
                break;
            case 6:
                world.AddAnimal("A_C_Deer_01", pos);
                break;
            default:
                world.AddTownsfolk(pos, i % 3 != 0);
        }
    }
}
