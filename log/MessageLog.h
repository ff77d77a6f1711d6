#pragma once
// The in-memory message log (LogList): one stored line per entry, oldest first.
#include "base/Clock.h"
#include "base/LogKind.h"

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace nimbrel {

inline constexpr char LogDelimiter = '^';

// What the log holds at most: a longer message is cut and ends in "...", and the oldest entries
// go first once there are this many. A server's reply is quoted in the log; these keep a hostile
// one from filling memory however long the program runs.
inline constexpr std::size_t MaxLogMessageBytes = 4 * 1024;
inline constexpr std::size_t MaxLogEntries = 10000;

// The message as it is kept: at most MaxLogMessageBytes, cut at a UTF-8 character boundary.
std::string BoundedLogMessage(const std::string& message);

// The stored form of one entry: "kind"^"message"^"time". A double quote inside a field is
// doubled, so a message holding quotes and "^" still splits back into the same three fields.
std::string FormatLogLine(int kind, const std::string& message, const std::string& time);

struct TLogEntry {
    int Kind = LogInformation;
    std::string Message;
    std::string Time;
    friend bool operator==(const TLogEntry&, const TLogEntry&) = default;
};

// The fields of a stored line: split at "^" outside double quotes, enclosing quotes removed.
std::vector<std::string> SplitLogLine(const std::string& line);
// A kind that is not a whole number reads as LogInformation.
TLogEntry ParseLogLine(const std::string& line);

// One row of the log window; ImageIndex is the entry's kind.
struct TLogRow {
    std::string Message, Time;
    int ImageIndex = 0;
    friend bool operator==(const TLogRow&, const TLogRow&) = default;
};

// The log window's rows, newest first.
std::vector<TLogRow> LogWindowRows(const std::vector<std::string>& lines);
// The clipboard text, oldest first: time, three spaces, message, "\r\n" per entry.
std::string LogClipboardText(const std::vector<std::string>& lines);

// Every member takes the one lock guarding the lines, so the fetch worker may add its entries
// directly while the main thread reads or clears the log; readers get a copy, never a view.
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
    std::deque<std::string> lines_;
};

} // namespace nimbrel
