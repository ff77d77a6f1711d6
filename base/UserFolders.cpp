#include "base/UserFolders.h"

#include <cstdlib>
#include <string>

namespace nimbrel {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::filesystem::path XdgFolder(const char* variable, const char* underHome) {
    const std::filesystem::path named = Environment(variable);
    if (named.is_absolute())
        return named;
    const std::string home = Environment("HOME");
    return home.empty() ? std::filesystem::path() : std::filesystem::path(home) / underHome;
}

std::filesystem::path WindowsFolder(const char* variable) {
    return Environment(variable);
}

} // namespace nimbrel
