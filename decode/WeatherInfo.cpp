#include "decode/WeatherInfo.h"

namespace nimbrel {

int WrapHour(int hour, int offset) {
    // An offset beyond a day is first brought within one (a hand-edited file may hold any
    // number); in 64 bits nothing below can overflow.
    const long long shift = offset < -24 || offset > 24 ? offset % 24 : offset;
    const long long s = hour + shift;
    if (s > 24)
        return static_cast<int>(s - 24);
    if (s == 24)
        return 0;
    if (s < 0)
        return static_cast<int>(s + 24);
    return static_cast<int>(s);
}

} // namespace nimbrel
