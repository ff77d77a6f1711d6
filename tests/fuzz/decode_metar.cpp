// Any byte sequence must decode to a complete record without crashing.
#include "decode/DecodeMetar.h"
#include "support/FakeClock.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    nimbrel::testing::FakeClock clock;
    clock.utc = {2026, 12, 8, 12, 30, 0, 0};
    // The first byte, when there is one, chooses the offset and the clock.
    const int selector = size > 0 ? data[0] : 0;
    const int offset = selector % 49 - 24;
    const bool use24HourClock = (selector & 0x80) == 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    nimbrel::TMetarDecoder decoder(clock);
    nimbrel::TWeatherInfo record;
    decoder.DecodeMetar(text, record, offset, use24HourClock);
    if (record.Condition > 22 || record.TemperatureIndex > 9 || record.SkyCondition.empty() ||
        record.WindDirectionIndex < 0 || record.WindDirectionIndex > 18)
        std::abort();
    return 0;
}
