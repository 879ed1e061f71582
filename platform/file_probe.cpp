// What is at a path, and its full form: portable, through the standard library's file system.
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/os_services.h"

namespace platform {
namespace os {

FileState ProbeFile(const char* path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
        return FileState::Missing;
    }
    if (!std::filesystem::is_regular_file(status)) {
        return FileState::Unreadable;
    }
    std::ifstream file(path, std::ios::binary);
    return file.is_open() ? FileState::Readable : FileState::Unreadable;
}

std::string FullPath(const char* path) {
    try {
        std::error_code ec;
        const std::filesystem::path full = std::filesystem::absolute(path, ec);
        return ec ? std::string(path) : full.lexically_normal().make_preferred().string();
    } catch (...) {
        return path;  // a folder name the narrow form cannot hold
    }
}

}  // namespace os
}  // namespace platform
