#include <iostream>

#include "cli/Commands.h"

namespace nimbrel::cli {

// Placeholder until the decode command is built.
void RegisterDecodeCommand(CLI::App& app, int& exitCode) {
    CLI::App* sub = app.add_subcommand("decode", "(not available yet)");
    sub->allow_extras();
    sub->callback([&exitCode] {
        std::cerr << "nimbrel-cli: decode is not available yet\n";
        exitCode = 2;
    });
}

} // namespace nimbrel::cli
