#include "world/free_play.h"

#include <string>

#include "core/logger.h"
#include "host/natives.h"
#include "platform/platform.h"

namespace {

// The tick count of the watch's last look that saw the screen up, and the control on.
uint64_t screenUpMs = 0;
uint64_t controlOnMs = 0;

// Notes a blackout seen (or not) now; true once it has lasted long enough.
bool Lasting(bool seen, uint64_t* clearMs, uint64_t nowMs) {
    if (!seen) {
        *clearMs = nowMs;
        return false;
    }
    return nowMs - *clearMs >= kBlackoutLimitMs;
}

// The states that end a watch at once, after the mission flag; FreePlay when none holds.
GameState PlayerState(Player player) {
    if (IS_PED_DEAD_OR_DYING(PLAYER_PED_ID())) {
        return GameState::PlayerDead;
    }
    if (IS_PLAYER_BEING_ARRESTED(player)) {
        return GameState::PlayerArrested;
    }
    if (!IS_PLAYER_PLAYING(player)) {
        return GameState::PlayerNotPlaying;
    }
    if (GET_IS_LOADING_SCREEN_ACTIVE()) {
        return GameState::LoadingScreen;
    }
    return GameState::FreePlay;
}

}  // namespace

const char* GameStateText(GameState state) {
    switch (state) {
        case GameState::FreePlay:
            return "free play";
        case GameState::StoryMission:
            return "a story mission is running";
        case GameState::PlayerDead:
            return "the player is dead or dying";
        case GameState::PlayerArrested:
            return "the player is being arrested";
        case GameState::PlayerNotPlaying:
            return "the player is not playing";
        case GameState::LoadingScreen:
            return "a loading screen is up";
        case GameState::ScreenFadedOut:
            return "the screen is faded out";
        case GameState::ControlOff:
            return "the player's control is off";
        case GameState::RandomEvent:
            return "a random event of the game's own is running";
    }
    return "unknown";
}

GameState LookAtGameState() {
    if (GET_MISSION_FLAG()) {
        return GameState::StoryMission;
    }
    const Player player = PLAYER_ID();
    const GameState state = PlayerState(player);
    if (state != GameState::FreePlay) {
        return state;
    }
    if (IS_SCREEN_FADED_OUT()) {
        return GameState::ScreenFadedOut;
    }
    if (!IS_PLAYER_CONTROL_ON(player)) {
        return GameState::ControlOff;
    }
    if (GET_RANDOM_EVENT_FLAG()) {
        return GameState::RandomEvent;
    }
    return GameState::FreePlay;
}

GameState LookAtScreens() {
    if (GET_IS_LOADING_SCREEN_ACTIVE()) {
        return GameState::LoadingScreen;
    }
    if (IS_SCREEN_FADED_OUT()) {
        return GameState::ScreenFadedOut;
    }
    if (!IS_PLAYER_CONTROL_ON(PLAYER_ID())) {
        return GameState::ControlOff;
    }
    return GameState::FreePlay;
}

bool SceneMustEnd() {
    if (GET_MISSION_FLAG()) {
        Log(LogLevel::Debug, "A story mission has started, ending event.");
        return true;
    }
    const Player player = PLAYER_ID();
    const GameState state = PlayerState(player);
    if (state != GameState::FreePlay) {
        Log(LogLevel::Debug,
            std::string("The scene has ended: ") + GameStateText(state) + ", ending event.");
        return true;
    }
    // Both are looked at on every pass, so that each one's start is known.
    const uint64_t now = platform::TickCount64();
    const bool faded = Lasting(IS_SCREEN_FADED_OUT(), &screenUpMs, now);
    const bool controlOff = Lasting(!IS_PLAYER_CONTROL_ON(player), &controlOnMs, now);
    if (faded || controlOff) {
        Log(LogLevel::Debug,
            std::string("The scene has ended: ") +
                GameStateText(faded ? GameState::ScreenFadedOut : GameState::ControlOff) +
                " and has been for 3.5 s, ending event.");
        return true;
    }
    return false;
}

void ForgetBlackouts() {
    screenUpMs = platform::TickCount64();
    controlOnMs = screenUpMs;
}
