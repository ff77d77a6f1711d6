#pragma once
// Each sub-command of nimbrel-cli registers itself on the application and stores its exit
// status (0 success, 1 a failed run) in exitCode when it runs. Bad usage exits with 2.
#include <CLI/CLI.hpp>

namespace nimbrel::cli {

void RegisterDecodeCommand(CLI::App& app, int& exitCode);
void RegisterSettingsCommand(CLI::App& app, int& exitCode);
void RegisterStationsCommand(CLI::App& app, int& exitCode);
void RegisterFetchCommand(CLI::App& app, int& exitCode);
void RegisterShowCommand(CLI::App& app, int& exitCode);
void RegisterHistoryCommand(CLI::App& app, int& exitCode);
void RegisterHistoryStoreCommand(CLI::App& app, int& exitCode);

} // namespace nimbrel::cli
