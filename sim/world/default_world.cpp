#include "sim/world/default_world.h"

bool BuildDefaultWorld(World& world, std::string* /*error*/) {
    // A town street at dusk.
    world.SetClock(21, 0);
    world.CreatePlayer(Vec3{-300.0f, 790.0f, 117.0f});
    world.CreatePlayerHorse(Vec3{-303.0f, 790.0f, 117.0f});
    return true;
}
