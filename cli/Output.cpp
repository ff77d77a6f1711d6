#include "cli/Output.h"

#include "log/MessageLog.h"

namespace nimbrel::cli {

std::unique_ptr<Clock> UtcNowClock(const std::string& utcNow) {
    if (utcNow.empty())
        return std::make_unique<SystemClock>();
    TDateTime pinned;
    if (!ParseDateTime(utcNow, pinned))
        return nullptr;
    return std::make_unique<PinnedClock>(pinned);
}

nlohmann::ordered_json LogJson(const std::vector<std::string>& lines) {
    nlohmann::ordered_json log = nlohmann::ordered_json::array();
    for (const std::string& line : lines) {
        const TLogEntry entry = ParseLogLine(line);
        log.push_back({{"kind", entry.Kind}, {"message", entry.Message}});
    }
    return log;
}

} // namespace nimbrel::cli
