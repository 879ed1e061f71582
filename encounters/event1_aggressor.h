// Encounter "event1_aggressor": one ped near the player attacks another, and lawmen close in
// on the aggressor once it shoots, fights, wounds its victim or takes on the player.
#pragma once

// Set once this encounter has re-seeded the random generator in this process.
extern bool Event1SeededRandom;

void event1_aggressor();
