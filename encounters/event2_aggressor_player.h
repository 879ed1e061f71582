// Encounter "event2_aggressor_player": a ped near the player turns on the player, and lawmen
// close in on it once it has shown itself hostile.
#pragma once

void event2_aggressor_player();
