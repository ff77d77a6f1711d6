#pragma once
// Where the running program lies: the autostart entry starts this file and the station database
// is looked up beside it.
#include <filesystem>
#include <string>

namespace nimbrel {

// A path in the program's narrow text (on Windows the ANSI code page, as its Windows calls and
// getenv give it) as std::filesystem takes it, and back. On Windows std::filesystem itself would
// read the bytes as Latin-1 and give back UTF-8, which moves every non-ASCII path elsewhere.
// Elsewhere the bytes pass unchanged.
std::filesystem::path NarrowToPath(const std::string& path);
std::string PathToNarrow(const std::filesystem::path& path);

// The absolute path of the running executable; empty when the system does not tell.
std::string ExecutablePath();
// The folder of ExecutablePath().
std::string ExecutableFolder();

} // namespace nimbrel
