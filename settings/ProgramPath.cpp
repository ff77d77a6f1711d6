#include "settings/ProgramPath.h"

#include <filesystem>

#ifdef _WIN32
#include <vector>
#include <windows.h>
#endif

namespace nimbrel {

#ifdef _WIN32

std::filesystem::path NarrowToPath(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    const int size = static_cast<int>(path.size());
    std::wstring wide(
        static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, path.data(), size, nullptr, 0)),
        L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), size, wide.data(), static_cast<int>(wide.size()));
    return std::filesystem::path(wide);
}

std::string PathToNarrow(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    std::string narrow(static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, 0, wide.data(), size,
                                                                    nullptr, 0, nullptr, nullptr)),
                       '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), size, narrow.data(),
                        static_cast<int>(narrow.size()), nullptr, nullptr);
    return narrow;
}

#else

std::filesystem::path NarrowToPath(const std::string& path) {
    return std::filesystem::path(path);
}

std::string PathToNarrow(const std::filesystem::path& path) {
    return path.string();
}

#endif

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
