#include "cli/Output.h"

#include "log/MessageLog.h"

#include <cerrno>
#include <fstream>
#include <iostream>
#include <system_error>

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

namespace {

std::string InputName(const std::string& file) {
    return file.empty() ? "standard input" : file;
}

} // namespace

std::optional<std::string> ReadInput(const std::string& file, std::size_t maxBytes) {
    std::ifstream stream;
    if (!file.empty()) {
        stream.open(file, std::ios::binary);
        if (!stream) {
            std::cerr << "nimbrel-cli: cannot read " << InputName(file) << ": "
                      << std::generic_category().message(errno) << "\n";
            return std::nullopt;
        }
    }
    std::istream& in = file.empty() ? std::cin : stream;
    std::string text;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (text.size() > maxBytes) {
            std::cerr << "nimbrel-cli: " << InputName(file) << " is larger than "
                      << (maxBytes >> 20) << " MiB\n";
            return std::nullopt;
        }
    }
    if (in.bad()) {
        std::cerr << "nimbrel-cli: cannot read " << InputName(file) << "\n";
        return std::nullopt;
    }
    return text;
}

} // namespace nimbrel::cli
