#include "cli/Commands.h"

#include <exception>
#include <iostream>

#ifdef _WIN32
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // Byte for byte what the program writes and reads, as on every other system: a text-mode
    // stream would add a carriage return to each line of JSON and drop those of the input.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    CLI::App app{"nimbrel-cli: decode, fetch and inspect weather reports without the desktop"};
    app.set_version_flag("--version", std::string("nimbrel-cli ") + NIMBREL_VERSION);
    app.require_subcommand(1);
    int exitCode = 0;
    nimbrel::cli::RegisterDecodeCommand(app, exitCode);
    nimbrel::cli::RegisterSettingsCommand(app, exitCode);
    nimbrel::cli::RegisterStationsCommand(app, exitCode);
    nimbrel::cli::RegisterFetchCommand(app, exitCode);
    nimbrel::cli::RegisterShowCommand(app, exitCode);
    nimbrel::cli::RegisterHistoryCommand(app, exitCode);
    nimbrel::cli::RegisterHistoryStoreCommand(app, exitCode);
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
