// Any stored line must split without crashing, and any message must come back whole.
#include "log/MessageLog.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    nimbrel::ParseLogLine(text);
    const int kind = size > 0 ? data[0] % 3 : 0;
    const nimbrel::TLogEntry entry =
        nimbrel::ParseLogLine(nimbrel::FormatLogLine(kind, text, text));
    if (entry.Kind != kind || entry.Message != text || entry.Time != text) {
        std::abort();
    }
    return 0;
}
