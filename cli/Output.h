#pragma once
// What several sub-commands of nimbrel-cli share: the clock --utc-now asks for and the log as
// JSON.
#include "base/Clock.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace nimbrel::cli {

// What --utc-now accepts: YYYY-MM-DDTHH:MM, refused with exit status 2 while parsing.
CLI::Validator UtcNowFormat();
// The system clock for an empty value, else a clock pinned to it (a value UtcNowFormat took).
std::unique_ptr<Clock> UtcNowClock(const std::string& utcNow);

// The log lines as [{"kind": ..., "message": ...}], oldest first.
nlohmann::ordered_json LogJson(const std::vector<std::string>& lines);

} // namespace nimbrel::cli
