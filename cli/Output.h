#pragma once
// What several sub-commands of nimbrel-cli share: the clock --utc-now asks for and the log as
// JSON.
#include "base/Clock.h"

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace nimbrel::cli {

// The system clock for an empty value, else a clock pinned to it (YYYY-MM-DDTHH:MM); nullptr
// when the value is malformed.
std::unique_ptr<Clock> UtcNowClock(const std::string& utcNow);

// The log lines as [{"kind": ..., "message": ...}], oldest first.
nlohmann::ordered_json LogJson(const std::vector<std::string>& lines);

} // namespace nimbrel::cli
