#include <iostream>

#include "cli/Commands.h"

namespace nimbrel::cli {

// Placeholder until the show command is built.
void RegisterShowCommand(CLI::App& app, int& exitCode) {
    CLI::App* sub = app.add_subcommand("show", "(not available yet)");
    sub->allow_extras();
    sub->callback([&exitCode] {
        std::cerr << "nimbrel-cli: show is not available yet\n";
        exitCode = 2;
    });
}

} // namespace nimbrel::cli
