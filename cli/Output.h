#pragma once
// What several sub-commands of nimbrel-cli share: the clock --utc-now asks for, their bounded
// input and the log as JSON.
#include "base/Clock.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace nimbrel::cli {

// What --utc-now accepts: YYYY-MM-DDTHH:MM, refused with exit status 2 while parsing.
CLI::Validator UtcNowFormat();
// The system clock for an empty value, else a clock pinned to it (a value UtcNowFormat took).
std::unique_ptr<Clock> UtcNowClock(const std::string& utcNow);

// FILE's bytes, or standard input's for an empty name, at most maxBytes (reported in whole
// MiB); nullopt, with the reason on standard error, when they cannot be read or are more.
std::optional<std::string> ReadInput(const std::string& file, std::size_t maxBytes);

// The log lines as [{"kind": ..., "message": ...}], oldest first.
nlohmann::ordered_json LogJson(const std::vector<std::string>& lines);

} // namespace nimbrel::cli
