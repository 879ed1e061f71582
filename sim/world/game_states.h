// The states of the game outside free play that the simulated world can be in: the player dead
// (until he respawns), being arrested, a cutscene (the control taken and the screen faded), a
// loading screen (fast travel), the game's own random event, and the control taken or the
// screen faded on their own (a door, a shop, a mount). Each lasts a window of virtual time;
// the world's natives answer from them, and the report and the checks read them back.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "sim/world/vec3.h"

enum class GameStateKind { Death, Arrest, Cutscene, LoadingScreen, RandomEvent, ControlLoss, Fade };

const char* GameStateKindName(GameStateKind kind);  // "death", "cutscene", ...

struct GameStateWindow {
    GameStateKind kind = GameStateKind::Death;
    uint64_t startMs = 0;
    uint64_t endMs = 0;  // while open: UINT64_MAX
};

class SimGameStates {
  public:
    // A state that lasts from startMs to endMs.
    void Add(GameStateKind kind, uint64_t startMs, uint64_t endMs);
    // The player died now; a respawn elsewhere may be set for a given moment (else the world's
    // usual delay).
    void NoteDeath(uint64_t nowMs);
    void SetRespawn(uint64_t atMs, std::optional<Vec3> place);
    // Whether a dead player stands up now, given when the world's usual delay runs out; once
    // he does, where (if somewhere else) and the death's window closed.
    bool RespawnDue(uint64_t nowMs, uint64_t usualMs) const;
    std::optional<Vec3> NoteRespawn(uint64_t nowMs);

    bool Active(GameStateKind kind, uint64_t nowMs) const;
    // What the natives answer, a dead player aside (the world knows that one).
    bool BeingArrested(uint64_t nowMs) const { return Active(GameStateKind::Arrest, nowMs); }
    bool LoadingScreen(uint64_t nowMs) const { return Active(GameStateKind::LoadingScreen, nowMs); }
    bool RandomEvent(uint64_t nowMs) const { return Active(GameStateKind::RandomEvent, nowMs); }
    bool ScreenFadedOut(uint64_t nowMs) const;
    bool ControlTaken(uint64_t nowMs) const;

    const std::vector<GameStateWindow>& Windows() const { return windows_; }

  private:
    std::vector<GameStateWindow> windows_;
    uint64_t respawnAtMs_ = 0;  // 0: the usual delay
    std::optional<Vec3> respawnPlace_;
};
