#include "decode/DecodeMetar.h"

namespace nimbrel {

TMetarDecoder::TMetarDecoder(const Clock& clock) : clock_(clock) {}

void TMetarDecoder::DecodeMetar(std::string_view, TWeatherInfo&, int, bool,
                                const std::function<void()>&) {}

} // namespace nimbrel
