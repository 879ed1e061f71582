#include "encounters/story_mission.h"

#include "core/logger.h"
#include "host/natives.h"

bool StoryMissionStarted() {
    if (!GET_MISSION_FLAG()) {
        return false;
    }
    Log(LogLevel::Debug, "A story mission has started, ending event.");
    return true;
}
