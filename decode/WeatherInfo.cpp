#include "decode/WeatherInfo.h"

namespace nimbrel {

int WrapHour(int hour, int offset) {
    // In 64 bits the sum cannot overflow; for an hour 0..23 and an offset -24..24 this is the
    // same hour as "s - 24 above 24, 0 at 24, s + 24 below 0".
    const long long hours = (static_cast<long long>(hour) + offset) % 24;
    return static_cast<int>(hours < 0 ? hours + 24 : hours);
}

} // namespace nimbrel
