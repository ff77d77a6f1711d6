#include "settings/ProgramPath.h"

#include <filesystem>

#ifdef _WIN32
#include <vector>
#include <windows.h>
#endif

namespace nimbrel {

std::string ExecutablePath() {
#ifdef _WIN32
    // Long paths need more than MAX_PATH; 32767 characters is the system's own limit.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::vector<char> buffer(size);
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
        if (length == 0) {
            return {};
        }
        if (length < size) {
            return std::string(buffer.data(), length);
        }
    }
    return {};
#else
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
#endif
}

std::string ExecutableFolder() {
    return std::filesystem::path(ExecutablePath()).parent_path().string();
}

} // namespace nimbrel
