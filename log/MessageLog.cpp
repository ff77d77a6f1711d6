#include "log/MessageLog.h"

#include <charconv>
#include <string_view>

namespace nimbrel {

namespace {

constexpr char Quote = '"';

std::string Quoted(const std::string& field) {
    std::string quoted(1, Quote);
    for (const char c : field) {
        quoted += c;
        if (c == Quote) {
            quoted += Quote;
        }
    }
    return quoted + Quote;
}

// Removes the enclosing quotes and turns each doubled quote back into one.
std::string Unquoted(const std::string& field) {
    if (field.size() < 2 || field.front() != Quote || field.back() != Quote) {
        return field;
    }
    std::string text;
    for (std::size_t i = 1; i + 1 < field.size(); ++i) {
        text += field[i];
        if (field[i] == Quote && field[i + 1] == Quote && i + 2 < field.size()) {
            ++i;
        }
    }
    return text;
}

int KindOf(const std::string& field) {
    int kind = LogInformation;
    const char* last = field.data() + field.size();
    const auto [end, error] = std::from_chars(field.data(), last, kind);
    return error == std::errc() && end == last ? kind : LogInformation;
}

std::string FieldOrEmpty(const std::vector<std::string>& fields, std::size_t index) {
    return index < fields.size() ? fields[index] : std::string();
}

} // namespace

std::string FormatLogLine(int kind, const std::string& message, const std::string& time) {
    return Quoted(std::to_string(kind)) + LogDelimiter + Quoted(message) + LogDelimiter +
           Quoted(time);
}

std::vector<std::string> SplitLogLine(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    bool insideQuotes = false;
    for (const char c : line) {
        if (c == LogDelimiter && !insideQuotes) {
            fields.push_back(Unquoted(field));
            field.clear();
            continue;
        }
        insideQuotes = c == Quote ? !insideQuotes : insideQuotes;
        field += c;
    }
    fields.push_back(Unquoted(field));
    return fields;
}

TLogEntry ParseLogLine(const std::string& line) {
    const std::vector<std::string> fields = SplitLogLine(line);
    return {KindOf(FieldOrEmpty(fields, 0)), FieldOrEmpty(fields, 1), FieldOrEmpty(fields, 2)};
}

std::vector<TLogRow> LogWindowRows(const std::vector<std::string>& lines) {
    std::vector<TLogRow> rows;
    rows.reserve(lines.size());
    // Not std::views::reverse: clang-tidy 14 cannot read the ranges of GCC 12's library.
    // NOLINTNEXTLINE(modernize-loop-convert)
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        TLogEntry entry = ParseLogLine(*line);
        rows.push_back({std::move(entry.Message), std::move(entry.Time), entry.Kind});
    }
    return rows;
}

std::string LogClipboardText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        const TLogEntry entry = ParseLogLine(line);
        text += entry.Time + "   " + entry.Message + "\r\n";
    }
    return text;
}

std::string BoundedLogMessage(const std::string& message) {
    if (message.size() <= MaxLogMessageBytes) {
        return message;
    }
    static constexpr std::string_view ellipsis = "...";
    std::size_t cut = MaxLogMessageBytes - ellipsis.size();
    const auto continuation = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
    while (cut > 0 && continuation(message[cut])) {
        --cut;
    }
    return message.substr(0, cut) + std::string(ellipsis);
}

void TLogList::AddLogMessage(int kind, const std::string& message) {
    std::string line =
        FormatLogLine(kind, BoundedLogMessage(message), clock_.LongTimeText(clock_.LocalNow()));
    const std::lock_guard lock(mutex_);
    if (lines_.size() >= MaxLogEntries) {
        lines_.pop_front();
    }
    lines_.push_back(std::move(line));
}

std::vector<std::string> TLogList::Lines() const {
    const std::lock_guard lock(mutex_);
    return {lines_.begin(), lines_.end()};
}

std::size_t TLogList::Count() const {
    const std::lock_guard lock(mutex_);
    return lines_.size();
}

void TLogList::Clear() {
    const std::lock_guard lock(mutex_);
    lines_.clear();
}

} // namespace nimbrel
