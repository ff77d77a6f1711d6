#include "base/Clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace nimbrel {

namespace {

TDateTime FromTm(const std::tm& tm, int millisecond) {
    return TDateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                     tm.tm_min,         tm.tm_sec,     millisecond};
}

template <typename Convert> TDateTime Now(Convert convert) {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm tm{};
    convert(&seconds, &tm);
    return FromTm(tm, static_cast<int>(millis));
}

} // namespace

std::string Clock::LongTimeText(const TDateTime& local) const {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.Hour % 100, local.Minute % 100,
                  local.Second % 100);
    return text;
}

TDateTime SystemClock::UtcNow() const {
#ifdef _WIN32
    return Now([](const std::time_t* t, std::tm* tm) { gmtime_s(tm, t); });
#else
    return Now([](const std::time_t* t, std::tm* tm) { gmtime_r(t, tm); });
#endif
}

TDateTime SystemClock::LocalNow() const {
#ifdef _WIN32
    return Now([](const std::time_t* t, std::tm* tm) { localtime_s(tm, t); });
#else
    return Now([](const std::time_t* t, std::tm* tm) { localtime_r(t, tm); });
#endif
}

std::string SystemClock::LongTimeText(const TDateTime& local) const {
    std::tm tm{};
    tm.tm_hour = local.Hour;
    tm.tm_min = local.Minute;
    tm.tm_sec = local.Second;
    char text[64];
    // %X is the locale's time representation, the closest match to a "long time format".
    const std::size_t n = std::strftime(text, sizeof text, "%X", &tm);
    return n > 0 ? std::string(text, n) : Clock::LongTimeText(local);
}

bool ParseDateTime(const std::string& text, TDateTime& out) {
    TDateTime t;
    char tail = 0;
    if (text.size() != 16 || std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d%c", &t.Year, &t.Month,
                                         &t.Day, &t.Hour, &t.Minute, &tail) != 5)
        return false;
    if (t.Month < 1 || t.Month > 12 || t.Day < 1 || t.Day > 31 || t.Hour > 23 || t.Minute > 59 ||
        t.Hour < 0 || t.Minute < 0)
        return false;
    out = t;
    return true;
}

} // namespace nimbrel
