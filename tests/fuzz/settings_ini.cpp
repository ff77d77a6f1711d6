// Any hand-edited file must parse, and a save must round-trip: after the program's writes, the
// saved text reads back every written value and every value of the other sections unchanged.
#include "settings/IniFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

// Sections a save must leave alone; the fuzzer finds these names through its comparisons.
constexpr const char* OtherSections[] = {"Other", "", "Preferences ", "[Preferences]"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    nimbrel::TIniFile ini(text);
    std::vector<std::vector<std::pair<std::string, std::string>>> before;
    for (const char* name : OtherSections) {
        before.push_back(ini.ReadSection(name));
    }
    // The value the fuzzer chose: the input's first line, as a user might type anything.
    const std::string value(text.substr(0, std::min(text.find('\n'), std::size_t{64})));
    ini.WriteString("Preferences", "LocationName1", "New\r\nValue");
    ini.WriteString("Preferences", "LocationName2", value);
    const nimbrel::TIniFile saved(ini.Text());
    Check(saved.Text() == ini.Text());
    Check(saved.ReadString("preferences", "locationname1") == "New  Value");
    Check(saved.ReadString("Preferences", "LocationName2") ==
          ini.ReadString("Preferences", "LocationName2"));
    for (std::size_t i = 0; i < before.size(); ++i) {
        Check(saved.ReadSection(OtherSections[i]) == before[i]);
    }
    return 0;
}
