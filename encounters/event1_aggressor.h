// Encounter "event1_aggressor": one ped near the player attacks another, and lawmen close in
// on the aggressor once it shoots, fights, wounds its victim or takes on the player.
#pragma once

void event1_aggressor();
