// Whether the game is in free play: no story mission, the player playing (neither dead, dying
// nor being arrested), no loading screen, the screen not faded out, the player's control on,
// and no random event of the game's own. The game's own ambient scripts ask all of this before
// they stage anything and on every pass while they run; an encounter staged on a dead player,
// in a cutscene or behind a loading screen would play to nobody and leave our peds on the
// scene the game hands back.
#pragma once

#include <cstdint>

enum class GameState {
    FreePlay,
    StoryMission,
    PlayerDead,        // dead or dying
    PlayerArrested,    // from the moment the hands go up
    PlayerNotPlaying,  // no ped, or injured: the game's own summary of the above
    LoadingScreen,
    ScreenFadedOut,
    ControlOff,   // a cutscene takes it, and so does a door, a shop or a mount for a moment
    RandomEvent,  // one of the game's own; it runs one at a time
};

// What the state is, for a log line: "the player is dead or dying".
const char* GameStateText(GameState state);

// One look at the game, the first state found in the order above; FreePlay when none is.
// GET_MISSION_FLAG is asked first, so the idle frame's one question stays the same.
GameState LookAtGameState();

// How long the screen may stay faded out, or the player's control off, before a watch takes it
// for a cutscene rather than a door, a shop or a mount. A watch sees the game once a pass (0.5
// to 2 s apart) and counts from its last look that saw the screen up and the control on, so a
// blackout of 5.5 s or more always ends an encounter and one under 1.5 s never does.
constexpr uint64_t kBlackoutLimitMs = 3500;

// The screens alone, in the same order: a loading screen, the screen faded out, the control
// off. What keeps the weather from changing.
GameState LookAtScreens();

// On every pass of every watch: a story mission, the player's death or arrest, the player no
// longer playing or a loading screen ends the encounter at once; a fade or the control taken
// away only once it has lasted kBlackoutLimitMs; a random event of the game's own never does.
// When it ends, logs one Debug line naming the reason ("A story mission has started, ending
// event." for a mission) and the caller ends its encounter as when the player has left, the
// lawmen it sent stood down as well.
bool SceneMustEnd();

// A new encounter starts from a look that saw free play: blackouts count from now.
void ForgetBlackouts();
