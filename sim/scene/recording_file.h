// Opening a session recording for the scene maker and the world comparison: anything that is
// not a whole-enough recording of this format is refused with one line, as the replay does.
#pragma once

#include <string>

#include "sim/scene/recording_facts.h"

struct OpenedRecording {
    std::string bytes;
    RecordingFacts facts;
};

// Reads and opens the file and reads its facts. False, with one line naming the file and what
// is wrong with it, for a file that cannot be read, is not a recording of a format this
// simulator reads, or is damaged (a file merely cut short is read to its last whole record).
bool OpenRecordingFile(const std::string& path, OpenedRecording* opened, std::string* error);
