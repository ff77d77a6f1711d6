#include <iostream>

#include "cli/Commands.h"

namespace nimbrel::cli {

// Placeholder until the settings command is built.
void RegisterSettingsCommand(CLI::App& app, int& exitCode) {
    CLI::App* sub = app.add_subcommand("settings", "(not available yet)");
    sub->allow_extras();
    sub->callback([&exitCode] {
        std::cerr << "nimbrel-cli: settings is not available yet\n";
        exitCode = 2;
    });
}

} // namespace nimbrel::cli
