#include "cli/Output.h"

#include "log/MessageLog.h"

namespace nimbrel::cli {

CLI::Validator UtcNowFormat() {
    return CLI::Validator(
        [](const std::string& text) {
            TDateTime moment;
            return ParseDateTime(text, moment) ? std::string() : "expects YYYY-MM-DDTHH:MM";
        },
        "YYYY-MM-DDTHH:MM");
}

std::unique_ptr<Clock> UtcNowClock(const std::string& utcNow) {
    TDateTime pinned;
    if (utcNow.empty() || !ParseDateTime(utcNow, pinned))
        return std::make_unique<SystemClock>();
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
