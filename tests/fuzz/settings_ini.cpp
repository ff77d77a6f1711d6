// Any hand-edited file must parse, and a save must round-trip: after the program's writes, the
// saved text reads back every written value and every value of the other sections unchanged.
#include "settings/IniFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

// The section names the file mentions, each once (names compare without regard to case).
std::vector<std::string> SectionNames(std::string_view text) {
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (std::size_t start = 0; start < text.size() && names.size() < 16;) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        const std::size_t open = line.find('[');
        if (open != std::string_view::npos) {
            std::string name(line.substr(open + 1, line.find(']', open) - open - 1));
            std::string folded = name;
            for (char& c : folded) {
                c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
            }
            if (seen.insert(folded).second && folded != "preferences") {
                names.push_back(name);
            }
        }
        start = end + 1;
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    nimbrel::TIniFile ini(text);
    const std::vector<std::string> others = SectionNames(text);
    std::vector<std::vector<std::pair<std::string, std::string>>> before;
    for (const std::string& name : others) {
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
    for (std::size_t i = 0; i < others.size(); ++i) {
        Check(saved.ReadSection(others[i]) == before[i]);
    }
    return 0;
}
