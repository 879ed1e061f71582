// The crowd the frame-cost measurements put around the player, the same on Linux and under
// Wine so that both measure the same frames.
#pragma once

class World;

// The player at the origin at 22:00 (every encounter's hours), and `peds` peds of every kind
// within 90 m of him, most of them townsfolk: lawmen, shopkeepers, riders, wagons with a
// driver and a passenger, deer.
void BuildCrowdWorld(World& world, int peds);
