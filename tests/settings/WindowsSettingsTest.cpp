// What only a Windows build does: the Run-key autostart entry and the settings file under APPDATA.
#ifdef _WIN32
#include "settings/Autostart.h"
#include "settings/SettingsStore.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <windows.h>

namespace nimbrel {
namespace {

constexpr const char* RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The Run-key value as the registry holds it; nullopt when there is none.
std::optional<std::string> RunValue(const char* name) {
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, RunKey, name, RRF_RT_ANY, &type, data, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return type == REG_SZ ? std::optional<std::string>(data) : std::optional<std::string>("?");
}

// The test owns the value while it runs and puts back whatever the user had.
class RunKeyEntry : public ::testing::Test {
protected:
    void TearDown() override { SetAutostart("Nimbrel", saved_.value_or(""), saved_.has_value()); }

private:
    std::optional<std::string> saved_ = RunValue("Nimbrel");
};

TEST_F(RunKeyEntry, IsWrittenOverwrittenAndDeleted) {
    EXPECT_TRUE(SetAutostart("Nimbrel", "C:\\Program Files\\Nimbrel\\Nimbrel.exe", true));
    EXPECT_EQ(RunValue("Nimbrel"), "C:\\Program Files\\Nimbrel\\Nimbrel.exe");
    EXPECT_TRUE(SetAutostart("Nimbrel", "D:\\Moved\\Nimbrel.exe", true));
    EXPECT_EQ(RunValue("Nimbrel"), "D:\\Moved\\Nimbrel.exe");
    EXPECT_TRUE(SetAutostart("Nimbrel", "D:\\Moved\\Nimbrel.exe", false));
    EXPECT_EQ(RunValue("Nimbrel"), std::nullopt);
    EXPECT_TRUE(SetAutostart("Nimbrel", "D:\\Moved\\Nimbrel.exe", false)) << "already gone";
    EXPECT_FALSE(SetAutostart("", "", true));
}

// HKEY_CURRENT_USER redirected to a key deleted under the program's feet: no Run key can be
// opened or made there. The value name is the test's own so that the test above is not disturbed.
TEST(RunKeyUnopenable, GivesFalseAndWritesNothing) {
    constexpr const char* Scratch = "Software\\NimbrelTestDeletedRoot";
    HKEY deleted = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Scratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &deleted, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, Scratch), ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, deleted), ERROR_SUCCESS);
    const bool written = SetAutostart("NimbrelUnopenable", "C:\\Nimbrel.exe", true);
    const bool removed = SetAutostart("NimbrelUnopenable", "C:\\Nimbrel.exe", false);
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(deleted);
    EXPECT_FALSE(written);
    EXPECT_FALSE(removed);
    EXPECT_EQ(RunValue("NimbrelUnopenable"), std::nullopt);
}

struct AppDataCase {
    friend void PrintTo(const AppDataCase& c, std::ostream* out) { *out << c.Name; }
    const char* Name;
    std::optional<std::string> AppData;
    std::string Expected; // relative ones are taken from the current folder
};

class SettingsPathOnWindows : public ::testing::TestWithParam<AppDataCase> {};

TEST_P(SettingsPathOnWindows, IsAppDataAndTheFileNameMadeAbsolute) {
    const testing::ScopedEnvironment appData("APPDATA", GetParam().AppData);
    const std::filesystem::path expected(GetParam().Expected);
    const bool bare = GetParam().Expected == "Nimbrel.ini";
    EXPECT_EQ(SettingsFilePath(),
              bare ? expected.string() : std::filesystem::absolute(expected).string());
}

INSTANTIATE_TEST_SUITE_P(
    AppData, SettingsPathOnWindows,
    ::testing::Values(AppDataCase{"Roaming", "C:\\Users\\ann\\AppData\\Roaming",
                                  "C:\\Users\\ann\\AppData\\Roaming\\Nimbrel.ini"},
                      AppDataCase{"TrailingBackslash", "C:\\Data\\", "C:\\Data\\Nimbrel.ini"},
                      AppDataCase{"Relative", "profile", "profile\\Nimbrel.ini"},
                      AppDataCase{"Empty", "", "Nimbrel.ini"},
                      AppDataCase{"Unset", std::nullopt, "Nimbrel.ini"}),
    [](const auto& info) { return std::string(info.param.Name); });

// "Zoë" as getenv gives it: in the ANSI code page, which must hold the letter.
std::optional<std::string> AnsiName() {
    const wchar_t* wide = L"Zo\u00EB";
    char ansi[16] = {};
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, ansi,
                                           sizeof ansi, nullptr, &lossy);
    return length > 0 && !lossy ? std::optional<std::string>(ansi) : std::nullopt;
}

TEST(SettingsPathOnWindows, KeepsANonAsciiAppDataFolder) {
    const std::optional<std::string> name = AnsiName();
    if (!name) {
        GTEST_SKIP() << "this system's ANSI code page has no \u00EB";
    }
    const testing::TempFolder folder;
    const testing::ScopedEnvironment appData("APPDATA", folder.Path().string() + "\\" + *name);
    TSettings settings;
    settings.LongReconnectInterval = 45;
    SaveSettings(settings, SettingsFilePath());
    EXPECT_TRUE(std::filesystem::is_regular_file(folder.Path() / L"Zo\u00EB" / L"Nimbrel.ini"));
    EXPECT_EQ(LoadSettings(SettingsFilePath()).LongReconnectInterval, 45);
}

} // namespace
} // namespace nimbrel
#endif
