// Bringing a new ped into the world near the player.
#pragma once

#include <cstdint>

#include "host/game_types.h"

class PedLedger;

// How long SpawnPed waits for a model to stream in: this many polls, kModelPollMs apart.
constexpr int kModelLoadPolls = 10;
constexpr uint32_t kModelPollMs = 1000;

// Loads the model, creates a ped of it at the position (a spot on the ground), owns it
// through the ledger and places it on the ground in the same frame; the model is given back once
// the ped is made, or when it did not load. Returns the new ped, or 0 when the model did not load
// within kModelLoadPolls polls (no ped is created then) or the game made none.
Ped SpawnPed(Hash model, float x, float y, float z, PedLedger& ledger);
