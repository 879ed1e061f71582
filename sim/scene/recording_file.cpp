#include "sim/scene/recording_file.h"

bool OpenRecordingFile(const std::string& path, OpenedRecording* opened, std::string* error) {
    if (!recording::ReadRecordingFile(path, &opened->bytes)) {
        *error = "cannot read '" + path + "'";
        return false;
    }
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
