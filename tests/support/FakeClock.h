#pragma once
#include "base/Clock.h"

namespace nimbrel::testing {

// A clock the test sets by hand; local time is UTC shifted by a fixed number of hours.
class FakeClock final : public Clock {
public:
    TDateTime utc;
    int localOffsetHours = 0;

    TDateTime UtcNow() const override { return utc; }
    TDateTime LocalNow() const override {
        TDateTime local = utc;
        local.Hour = ((utc.Hour + localOffsetHours) % 24 + 24) % 24;
        return local;
    }
};

} // namespace nimbrel::testing
