// Encounter "event4_wagon_robbery": a ped on foot takes over a wagon from its driver and flees
// with it; lawmen step in once the driver is hurt or thrown off, and if the robber dies the
// driver climbs back on and drives away.
#pragma once

#include "host/game_types.h"

// Whether a vehicle model is one of the wagons a robber goes for.
bool IsWagonModel(Hash model);

void event4_wagon_robbery();
