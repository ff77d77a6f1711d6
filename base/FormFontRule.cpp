#include "base/FormFontRule.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace nimbrel {

FormFontChoice FormFontForVersion(int major, int minor) {
    if (major == 6 && (minor == 0 || minor == 1)) {
        return {"Segoe UI", 9};
    }
    return {"Tahoma", 8};
}

#ifdef _WIN32

namespace {

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);

// The true version: GetVersionEx reports 6.2 for every newer system to a program without a
// compatibility manifest, which would still pick the right font but says the wrong thing.
OSVERSIONINFOW SystemVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto rtlGetVersion =
        ntdll == nullptr ? nullptr
                         : reinterpret_cast<RtlGetVersionFunction>(
                               reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    if (rtlGetVersion == nullptr || rtlGetVersion(&info) != 0) {
        info.dwMajorVersion = 0; // unknown: the font for every other version
        info.dwMinorVersion = 0;
    }
    return info;
}

} // namespace

FormFontChoice SystemFormFont() {
    const OSVERSIONINFOW version = SystemVersion();
    return FormFontForVersion(static_cast<int>(version.dwMajorVersion),
                              static_cast<int>(version.dwMinorVersion));
}

#endif

} // namespace nimbrel
