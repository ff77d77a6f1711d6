#include "cli/Commands.h"
#include "settings/SettingsStore.h"

#include <iostream>
#include <memory>
#include <string>

namespace nimbrel::cli {

// Shows the settings the desktop program would run with, as its next save would write them.
void RegisterSettingsCommand(CLI::App& app, int& exitCode) {
    CLI::App* sub = app.add_subcommand(
        "settings", "Print the settings as the program saves them (from the settings file)");
    auto file = std::make_shared<std::string>();
    sub->add_option("--file", *file, "Settings file to read instead of the program's own");
    sub->callback([file, &exitCode] {
        const std::string path = file->empty() ? SettingsFilePath() : *file;
        std::cout << SettingsFileText(LoadSettings(path));
        exitCode = 0;
    });
}

} // namespace nimbrel::cli
