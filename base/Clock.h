#pragma once
// The program's only way to read the time. Everything that depends on "now" takes a Clock, so
// tests pin and advance time instead of waiting for it.
#include <string>

namespace nimbrel {

struct TDateTime {
    int Year = 1970;
    int Month = 1;
    int Day = 1;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;

    friend bool operator==(const TDateTime&, const TDateTime&) = default;
};

class Clock {
public:
    virtual ~Clock() = default;
    // The system clock's UTC time, not the local time shifted by an offset.
    virtual TDateTime UtcNow() const = 0;
    // The local wall-clock time.
    virtual TDateTime LocalNow() const = 0;
    // A local time of day in the user's long time format (log times), e.g. "14:05:09".
    virtual std::string LongTimeText(const TDateTime& local) const;
};

class SystemClock final : public Clock {
public:
    TDateTime UtcNow() const override;
    TDateTime LocalNow() const override;
    std::string LongTimeText(const TDateTime& local) const override;
};

// "Now" fixed at one moment, for command-line runs that must repeat exactly: the local clock
// reads the same time as UTC.
class PinnedClock final : public Clock {
public:
    explicit PinnedClock(const TDateTime& moment) : moment_(moment) {}
    TDateTime UtcNow() const override { return moment_; }
    TDateTime LocalNow() const override { return moment_; }

private:
    TDateTime moment_;
};

// Parses "YYYY-MM-DDTHH:MM" (the command-line form of a pinned time); false when malformed.
bool ParseDateTime(const std::string& text, TDateTime& out);

} // namespace nimbrel
