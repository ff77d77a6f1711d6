#pragma once
// The desktop program's command line: `nimbrel [--server HOST[:PORT]]`, `--help`, `--version`.
// Parsed before any window exists, so --help and --version work without a display.
#include "app/MainController.h"

#include <string>
#include <vector>

namespace nimbrel::gui {

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    FtpServerAddress server;
    std::string error; // with Action::Error: what is wrong, for standard error
};

// args excludes the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();
std::string VersionText();

} // namespace nimbrel::gui
