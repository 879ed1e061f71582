// Feeds arbitrary bytes to the session recording reader: it must give records or one error,
// never crash, hang or read outside the bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sim/replay/recording_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    recording::RecordingReader reader;
    std::string error;
    if (!reader.Open(std::string(reinterpret_cast<const char*>(data), size), &error)) {
        return error.empty() ? __builtin_trap(), 0 : 0;
    }
    // An idle run may stand for very many frames: a bounded number of records is enough.
    recording::Record record;
    for (int i = 0; i < 100000 && reader.Next(&record); ++i) {
    }
    if (reader.BytesRead() > reader.Size()) {
        __builtin_trap();
    }
    return 0;
}
