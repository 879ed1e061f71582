#include "host/script_wait.h"

#include "core/logger.h"
#include "host/native_tap.h"
#include "host/script_hook.h"

void YieldToGame(uint32_t ms) {
    if (session_record::Active()) {
        session_record::g_onWait(ms);  // may log that recording stopped: before the log closes
    }
    // A player may open, copy, rename or delete the day's log while the game runs.
    CloseLogFile();
    scriptWait(ms);
}
