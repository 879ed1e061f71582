// Encounter "event3_animal_aggressor": a predator is spawned near a ped close to the player
// and charges it, while townsfolk scatter and lawmen open fire on the animal.
#pragma once

void event3_animal_aggressor();
