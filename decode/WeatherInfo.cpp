#include "decode/WeatherInfo.h"

namespace nimbrel {

int WrapHour(int hour, int offset) {
    const int s = hour + offset;
    if (s > 24)
        return s - 24;
    if (s == 24)
        return 0;
    if (s < 0)
        return s + 24;
    return s;
}

} // namespace nimbrel
