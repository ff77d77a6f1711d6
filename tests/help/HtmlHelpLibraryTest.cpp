// The HTML Help library as a Windows system (here Wine) provides it.
#ifdef _WIN32
#include "help/HelpLoader.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace nimbrel {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The test run that hides the library from the process sets this (see tests/CMakeLists.txt).
bool LibraryHidden() {
    const char* hidden = std::getenv("NIMBREL_TEST_NO_HTML_HELP");
    return hidden != nullptr && *hidden != '\0';
}

TEST(HtmlHelpLibrary, IsFoundUnderTheExpandedSystemRoot) {
    const std::string expanded = ExpandSystemRoot("%SYSTEMROOT%\\System32\\hhctrl.ocx");
    EXPECT_EQ(expanded.find('%'), std::string::npos) << expanded;
    EXPECT_TRUE(std::filesystem::is_regular_file(expanded)) << expanded;
    const std::string found = FindHtmlHelpLibrary();
    EXPECT_TRUE(std::filesystem::is_regular_file(found)) << found;
    EXPECT_TRUE(Lower(found).ends_with("\\hhctrl.ocx")) << found;
}

TEST(HtmlHelpLibrary, LoadsAndUnloads) {
    if (LibraryHidden()) {
        GTEST_SKIP() << "the library is hidden from this run";
    }
    THtmlHelp help;
    EXPECT_TRUE(help.IsLoaded());
    help.UnloadHtmlHelp();
    EXPECT_FALSE(help.IsLoaded());
    EXPECT_FALSE(help.DisplayTopic("C:\\NBRHelp.chm"));
    help.LoadHtmlHelp();
    EXPECT_TRUE(help.IsLoaded());
}

TEST(HtmlHelpLibrary, ThatCannotBeLoadedShowsNothing) {
    if (!LibraryHidden()) {
        GTEST_SKIP() << "runs only with the library hidden";
    }
    const THtmlHelp help;
    EXPECT_FALSE(help.IsLoaded());
    EXPECT_FALSE(help.DisplayTopic("C:\\NBRHelp.chm"));
}

} // namespace
} // namespace nimbrel
#endif
