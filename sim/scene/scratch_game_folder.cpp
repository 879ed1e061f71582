#include "sim/scene/scratch_game_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

ScratchGameFolder::ScratchGameFolder() {
    std::error_code ec;
    previous_ = std::filesystem::current_path(ec);
    const char* temp = std::getenv("TMPDIR");
    std::string pattern = (std::filesystem::path(temp != nullptr && *temp != '\0' ? temp : "/tmp") /
                           "tarrowind-scene-XXXXXX")
                              .string();
    if (mkdtemp(&pattern[0]) == nullptr) {
        return;
    }
    path_ = pattern;
    std::filesystem::create_directories(path_ / "Tarrowind" / "logs", ec);
    entered_ = !ec && chdir(path_.c_str()) == 0;
}

ScratchGameFolder::~ScratchGameFolder() {
    std::error_code ec;
    if (entered_) {
        std::filesystem::current_path(previous_, ec);
    }
    if (!path_.empty()) {
        std::filesystem::remove_all(path_, ec);
    }
}
