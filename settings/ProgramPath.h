#pragma once
// Where the running program lies: the autostart entry starts this file and the station database
// is looked up beside it.
#include <string>

namespace nimbrel {

// The absolute path of the running executable; empty when the system does not tell.
std::string ExecutablePath();
// The folder of ExecutablePath().
std::string ExecutableFolder();

} // namespace nimbrel
