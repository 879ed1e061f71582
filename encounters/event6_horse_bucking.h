// Encounter "event6_horse_bucking": a rider's horse near the player bucks; on an even roll
// it throws the rider, who runs from it, and either way the horse bolts.
#pragma once

void event6_horse_bucking();
