// How the encounters kept to free play, read from their spans and the world's windows outside
// it: how many were staged inside one, and how long the worst ran on into one that should have
// ended it (a death, an arrest, a loading screen at once; a cutscene, a fade or the control
// taken once it has lasted the plug-in's allowance). The game's own random events end nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/host/event_spans.h"
#include "sim/world/game_states.h"

struct GameStateFigures {
    uint64_t stagedOutsideFreePlay = 0;
    double longestIntoGameStateS = 0;  // past the moment the state should have ended it
};

GameStateFigures FigureGameStates(const std::vector<EventSpan>& spans,
                                  const std::vector<GameStateWindow>& windows, uint64_t nowMs);
