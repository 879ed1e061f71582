// The predators the animal attack may spawn, and the draw among them.
#pragma once

#include "host/game_types.h"

struct PredatorModel {
    Hash hash;         // the model spawned
    const char* name;  // the model's game name, for log lines
};

constexpr int kPredatorModelCount = 6;

// Bear, three wolves, coyote and cougar, each as likely as the others.
extern const PredatorModel PredatorModels[kPredatorModelCount];

// One row of PredatorModels: a draw of the program's generator modulo the row count.
const PredatorModel& PickPredatorModel();
