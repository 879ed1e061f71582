#include "sim/world/game_states.h"

#include <limits>

namespace {

constexpr uint64_t kOpen = std::numeric_limits<uint64_t>::max();

}  // namespace

const char* GameStateKindName(GameStateKind kind) {
    switch (kind) {
        case GameStateKind::Death:
            return "death";
        case GameStateKind::Arrest:
            return "arrest";
        case GameStateKind::Cutscene:
            return "cutscene";
        case GameStateKind::LoadingScreen:
            return "loading screen";
        case GameStateKind::RandomEvent:
            return "random event";
        case GameStateKind::ControlLoss:
            return "control taken";
        case GameStateKind::Fade:
            return "screen faded";
    }
    return "?";
}

void SimGameStates::Add(GameStateKind kind, uint64_t startMs, uint64_t endMs) {
    windows_.push_back(GameStateWindow{kind, startMs, endMs});
}

void SimGameStates::NoteDeath(uint64_t nowMs) {
    windows_.push_back(GameStateWindow{GameStateKind::Death, nowMs, kOpen});
}

void SimGameStates::SetRespawn(uint64_t atMs, std::optional<Vec3> place) {
    respawnAtMs_ = atMs;
    respawnPlace_ = place;
}

bool SimGameStates::RespawnDue(uint64_t nowMs, uint64_t usualMs) const {
    return nowMs >= (respawnAtMs_ != 0 ? respawnAtMs_ : usualMs);
}

std::optional<Vec3> SimGameStates::NoteRespawn(uint64_t nowMs) {
    for (GameStateWindow& window : windows_) {
        if (window.kind == GameStateKind::Death && window.endMs == kOpen) {
            window.endMs = nowMs;
        }
    }
    std::optional<Vec3> place = respawnPlace_;
    respawnAtMs_ = 0;
    respawnPlace_.reset();
    return place;
}

bool SimGameStates::Active(GameStateKind kind, uint64_t nowMs) const {
    for (const GameStateWindow& window : windows_) {
        if (window.kind == kind && nowMs >= window.startMs && nowMs < window.endMs) {
            return true;
        }
    }
    return false;
}

bool SimGameStates::ScreenFadedOut(uint64_t nowMs) const {
    return Active(GameStateKind::Cutscene, nowMs) || Active(GameStateKind::Fade, nowMs) ||
           LoadingScreen(nowMs);
}

bool SimGameStates::ControlTaken(uint64_t nowMs) const {
    return Active(GameStateKind::Cutscene, nowMs) || Active(GameStateKind::ControlLoss, nowMs) ||
           LoadingScreen(nowMs) || BeingArrested(nowMs) || Active(GameStateKind::Death, nowMs);
}
