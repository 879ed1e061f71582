#include "sim/scene/recording_file.h"

#include <cstdio>
#include <fstream>
#include <sstream>

bool OpenRecordingFile(const std::string& path, OpenedRecording* opened, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (in) {
        text << in.rdbuf();
    }
    if (!in || (!in.eof() && in.fail())) {
        *error = "cannot read '" + path + "'";
        return false;
    }
    opened->bytes = text.str();
    recording::RecordingReader reader;
    if (!reader.Open(opened->bytes, error)) {
        *error = path + ": " + *error;
        return false;
    }
    opened->facts = ReadRecordingFacts(reader);
    if (opened->facts.ending == recording::RecordingReader::Ending::Damaged) {
        *error = path + ": the recording is " + opened->facts.problem;
        return false;
    }
    return true;
}

int SceneFail(const std::string& message, int status) {
    std::fprintf(stderr, "tarrowind-sim: %s\n", message.c_str());
    return status;
}
