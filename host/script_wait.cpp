#include "host/script_wait.h"

#include "core/logger.h"
#include "host/script_hook.h"

void YieldToGame(uint32_t ms) {
    // A player may open, copy, rename or delete the day's log while the game runs.
    CloseLogFile();
    scriptWait(ms);
}
