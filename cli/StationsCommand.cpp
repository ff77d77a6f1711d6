#include <iostream>

#include "cli/Commands.h"

namespace nimbrel::cli {

// Placeholder until the stations command is built.
void RegisterStationsCommand(CLI::App& app, int& exitCode) {
    CLI::App* sub = app.add_subcommand("stations", "(not available yet)");
    sub->allow_extras();
    sub->callback([&exitCode] {
        std::cerr << "nimbrel-cli: stations is not available yet\n";
        exitCode = 2;
    });
}

} // namespace nimbrel::cli
