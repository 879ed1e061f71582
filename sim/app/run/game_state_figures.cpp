#include "sim/app/run/game_state_figures.h"

#include <algorithm>

#include "world/free_play.h"

namespace {

// How long after its start a state must have ended an encounter; false: it never does.
bool Allowance(GameStateKind kind, uint64_t* graceMs) {
    switch (kind) {
        case GameStateKind::Death:
        case GameStateKind::Arrest:
        case GameStateKind::LoadingScreen:
            *graceMs = 0;
            return true;
        case GameStateKind::Cutscene:
        case GameStateKind::ControlLoss:
        case GameStateKind::Fade:
            *graceMs = kBlackoutLimitMs;
            return true;
        case GameStateKind::RandomEvent:
            return false;
    }
    return false;
}

}  // namespace

GameStateFigures FigureGameStates(const std::vector<EventSpan>& spans,
                                  const std::vector<GameStateWindow>& windows, uint64_t nowMs) {
    GameStateFigures figures;
    for (const EventSpan& span : spans) {
        if (span.weather) {
            continue;
        }
        const uint64_t endMs = span.end == SpanEnd::kRunning ? nowMs : span.endMs;
        bool staged = false;
        for (const GameStateWindow& window : windows) {
            staged = staged || (span.startMs >= window.startMs && span.startMs < window.endMs);
            uint64_t graceMs = 0;
            if (!Allowance(window.kind, &graceMs) || window.startMs < span.startMs ||
                window.startMs >= endMs) {
                continue;
            }
            const uint64_t dueMs = window.startMs + graceMs;
            if (window.endMs > dueMs && endMs > dueMs) {
                figures.longestIntoGameStateS = std::max(
                    figures.longestIntoGameStateS, static_cast<double>(endMs - dueMs) / 1000.0);
            }
        }
        figures.stagedOutsideFreePlay += staged ? 1 : 0;
    }
    return figures;
}
