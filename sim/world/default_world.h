// The world the simulator runs when no scenario is given.
#pragma once

#include <string>

#include "sim/world/world.h"

bool BuildDefaultWorld(World& world, std::string* error);
