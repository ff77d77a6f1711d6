#include "windows/MyLog.h"

namespace nimbrel {

std::string FormatLogLine(int kind, const std::string& message, const std::string& time) {
    const std::string quote = "\"";
    return quote + std::to_string(kind) + quote + LogDelimiter + quote + message + quote +
           LogDelimiter + quote + time + quote;
}

void TLogList::AddLogMessage(int kind, const std::string& message) {
    std::string line = FormatLogLine(kind, message, clock_.LongTimeText(clock_.LocalNow()));
    const std::lock_guard lock(mutex_);
    lines_.push_back(std::move(line));
}

std::vector<std::string> TLogList::Lines() const {
    const std::lock_guard lock(mutex_);
    return lines_;
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
