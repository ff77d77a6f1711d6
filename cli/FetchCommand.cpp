#include <iostream>

#include "cli/Commands.h"

namespace nimbrel::cli {

// Placeholder until the fetch command is built.
void RegisterFetchCommand(CLI::App& app, int& exitCode) {
    CLI::App* sub = app.add_subcommand("fetch", "(not available yet)");
    sub->allow_extras();
    sub->callback([&exitCode] {
        std::cerr << "nimbrel-cli: fetch is not available yet\n";
        exitCode = 2;
    });
}

} // namespace nimbrel::cli
