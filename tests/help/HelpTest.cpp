#include "help/HelpLoader.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace nimbrel {
namespace {

// ---------------------------------------------------------------- %SystemRoot%

TEST(ExpandSystemRoot, ReplacesTheVariableInAnyCase) {
    struct Case {
        std::string path, windowsFolder, expected;
    };
    const std::vector<Case> cases = {
        {"%SystemRoot%\\System32\\hhctrl.ocx", "C:\\Windows", "C:\\Windows\\System32\\hhctrl.ocx"},
        {"%systemroot%\\System32\\hhctrl.ocx", "C:\\Windows", "C:\\Windows\\System32\\hhctrl.ocx"},
        {"%SYSTEMROOT%\\x", "C:\\Windows", "C:\\Windows\\x"},
        {"%sYsTeMrOoT%\\x", "D:\\WinNT", "D:\\WinNT\\x"},
        // exactly the variable: the folder alone
        {"%SystemRoot%", "C:\\Windows", "C:\\Windows"},
        // one trailing backslash of the folder is dropped, a second is kept
        {"%SystemRoot%\\x", "C:\\Windows\\", "C:\\Windows\\x"},
        {"%SystemRoot%\\x", "C:\\Windows\\\\", "C:\\Windows\\\\x"},
        // not at the start, misspelt or too short: unchanged
        {"C:\\%SystemRoot%\\x", "C:\\Windows", "C:\\%SystemRoot%\\x"},
        {"%SystemRoo%\\x", "C:\\Windows", "%SystemRoo%\\x"},
        {"%SystemRootX\\x", "C:\\Windows", "%SystemRootX\\x"},
        {"%SystemRoot", "C:\\Windows", "%SystemRoot"},
        {"%windir%\\hhctrl.ocx", "C:\\Windows", "%windir%\\hhctrl.ocx"},
        {"", "C:\\Windows", ""},
        {"C:\\Windows\\System32\\hhctrl.ocx", "D:\\X", "C:\\Windows\\System32\\hhctrl.ocx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ExpandSystemRoot(c.path, c.windowsFolder), c.expected);
    }
}

// ---------------------------------------------------------------- showing help

class HelpFolder : public ::testing::Test {
protected:
    std::filesystem::path bin() const { return folder_.Path() / "bin"; }
    std::filesystem::path share() const { return folder_.Path() / "share" / "nimbrel"; }

    void SetUp() override { std::filesystem::create_directories(bin()); }

    static void Touch(const std::filesystem::path& file) {
        testing::WriteFile(file.string(), "<html></html>");
    }

private:
    testing::TempFolder folder_;
};

class RecordingHelp final : public HelpActions {
public:
    bool opens = true;
    std::vector<std::string> steps;

    void ShowWarning(const std::string& text) override { steps.push_back("warning: " + text); }
    void AddLogMessage(int kind, const std::string& message) override {
        steps.push_back("log " + std::to_string(kind) + ": " + message);
    }
    bool OpenHelpFile(const std::string& path) override {
        steps.push_back("open " + std::filesystem::path(path).filename().string());
        opened = path;
        return opens;
    }
    std::string opened;
};

TEST_F(HelpFolder, MissingFileWarnsWithTheBareFileNameAndLogsNothing) {
    RecordingHelp help;
    ShowHelp(bin().string(), help);
    const std::vector<std::string> expected = {"warning: The help file '" +
                                               std::string(HelpFileName) + "' could not be found."};
    EXPECT_EQ(help.steps, expected);
}

TEST_F(HelpFolder, FileBesideTheProgramIsOpened) {
    Touch(bin() / HelpFileName);
    RecordingHelp help;
    ShowHelp(bin().string(), help);
    EXPECT_EQ(help.steps, std::vector<std::string>{"open " + std::string(HelpFileName)});
    EXPECT_TRUE(std::filesystem::equivalent(help.opened, bin() / HelpFileName));
}

TEST_F(HelpFolder, ViewerThatCannotOpenTheFileIsLoggedAsAnError) {
    Touch(bin() / HelpFileName);
    RecordingHelp help;
    help.opens = false;
    ShowHelp(bin().string(), help);
    const std::vector<std::string> expected = {"open " + std::string(HelpFileName),
                                               "log 2: Error on viewing help file."};
    EXPECT_EQ(help.steps, expected);
}

#ifndef _WIN32
TEST_F(HelpFolder, InstalledDataFolderIsTheFallback) {
    Touch(share() / HelpFileName);
    const std::optional<std::string> found = FindHelpFile(bin().string());
    ASSERT_TRUE(found.has_value());
    EXPECT_TRUE(std::filesystem::equivalent(*found, share() / HelpFileName));
}

#endif

TEST(HelpContent, ShipsInTheSourceTree) {
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(NIMBREL_SOURCE_DIR) /
                                                 "resources" / "help" / "NBRHelp.html"));
}

} // namespace
} // namespace nimbrel
