#include "base/FormFontRule.h"

namespace nimbrel {

FormFontChoice FormFontForVersion(int major, int minor) {
    if (major == 6 && (minor == 0 || minor == 1)) {
        return {"Segoe UI", 9};
    }
    return {"Tahoma", 8};
}

} // namespace nimbrel
