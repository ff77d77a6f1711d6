#include "cli/Commands.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"nimbrel-cli: decode, fetch and inspect weather reports without the desktop"};
    app.set_version_flag("--version", std::string("nimbrel-cli ") + NIMBREL_VERSION);
    app.require_subcommand(1);
    int exitCode = 0;
    nimbrel::cli::RegisterDecodeCommand(app, exitCode);
    nimbrel::cli::RegisterSettingsCommand(app, exitCode);
    nimbrel::cli::RegisterStationsCommand(app, exitCode);
    nimbrel::cli::RegisterFetchCommand(app, exitCode);
    nimbrel::cli::RegisterShowCommand(app, exitCode);
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "nimbrel-cli: " << e.what() << "\n";
        return 1;
    }
    return exitCode;
}
