#pragma once
// The font every window of the program is given on Windows, chosen by the system's version.
#include <string>

namespace nimbrel {

struct FormFontChoice {
    std::string family;
    int pointSize = 0;
};

// "Segoe UI" 9 on versions 6.0 and 6.1, "Tahoma" 8 on every other version, older and newer alike.
FormFontChoice FormFontForVersion(int major, int minor);

} // namespace nimbrel
