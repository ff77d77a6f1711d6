#pragma once
// The in-memory message log (LogList): one stored line per entry, oldest first.
#include <mutex>
#include <string>
#include <vector>

#include "decode/Clock.h"

namespace nimbrel {

enum LogKind : int { LogInformation = 0, LogWarning = 1, LogError = 2 };

inline constexpr char LogDelimiter = '^';

// The stored form of one entry: "kind"^"message"^"time".
std::string FormatLogLine(int kind, const std::string& message, const std::string& time);

// Thread-safe: one lock guards the lines, so the fetch worker may add entries directly.
class TLogList {
public:
    explicit TLogList(const Clock& clock) : clock_(clock) {}

    void AddLogMessage(int kind, const std::string& message);
    std::vector<std::string> Lines() const;
    std::size_t Count() const;
    void Clear();

private:
    const Clock& clock_;
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

} // namespace nimbrel
