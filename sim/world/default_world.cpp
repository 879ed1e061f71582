#include "sim/world/default_world.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kDefaultScenario = "town.json";

// Folders to look in, nearest first: the program's own folder and those above it (a build
// folder sits inside the source tree), then the source tree this file was compiled from.
std::vector<fs::path> ScenarioFolders() {
    std::vector<fs::path> folders;
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        fs::path dir = program.parent_path();
        for (int up = 0; up < 5 && !dir.empty(); ++up) {
            folders.push_back(dir / "scenarios");
            folders.push_back(dir / "share" / "tarrowind" / "scenarios");
            if (dir == dir.parent_path()) {
                break;
            }
            dir = dir.parent_path();
        }
    }
    // The source tree's, as the build knew it (a compile-cache may make __FILE__ relative).
    folders.push_back(fs::path(TARROWIND_SCENARIO_DIR));
    return folders;
}

}  // namespace

std::string FindDefaultScenario() {
    for (const fs::path& folder : ScenarioFolders()) {
        std::error_code ec;
        if (fs::is_regular_file(folder / kDefaultScenario, ec)) {
            return (folder / kDefaultScenario).string();
        }
    }
    return "";
}

std::string DefaultScenarioMissing() {
    return std::string("cannot find the default scenario ") + kDefaultScenario +
           " (looked beside the program and in the source tree); give one with "
           "--scenario FILE";
}

bool BuildDefaultWorld(World& world, std::string* error, ScenarioInfo* info) {
    const std::string path = FindDefaultScenario();
    if (path.empty()) {
        *error = DefaultScenarioMissing();
        return false;
    }
    return LoadScenarioFile(path, world, info, error);
}
