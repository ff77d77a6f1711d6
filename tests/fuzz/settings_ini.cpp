// Any hand-edited file must parse, and a write must always be read back from the saved text.
#include "settings/IniFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    nimbrel::TIniFile ini(text);
    ini.ReadSection("Preferences");
    ini.WriteString("Preferences", "LocationName1", "New\r\nValue");
    const nimbrel::TIniFile saved(ini.Text());
    if (saved.ReadString("preferences", "locationname1") != "New  Value") {
        std::abort();
    }
    return 0;
}
