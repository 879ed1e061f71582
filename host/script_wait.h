// The plug-in's only way to yield to the game: every wait of the script goes through here, so
// whatever must not be held while the game runs is let go in one place.
#pragma once

#include <cstdint>

// Closes the log file, then suspends the script for at least ms milliseconds (0: one frame)
// through the hook. Raises whatever the hook's wait raises.
void YieldToGame(uint32_t ms);
