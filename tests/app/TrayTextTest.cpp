#include "app/TrayText.h"

#include <gtest/gtest.h>

namespace nimbrel {
namespace {

const std::string Ordinal = "\xC2\xBA";

TEST(CutText, KeepsWholeCharacters) {
    struct Case {
        std::string text;
        int max;
        std::string expected;
    };
    const Case cases[] = {
        {"", 5, ""},
        {"abc", 3, "abc"},
        {"abcd", 3, "abc"},
        {"abc", 0, ""},
        {"12 " + Ordinal + "C", 4, "12 " + Ordinal},
        {"12 " + Ordinal + "C", 3, "12 "},
        {Ordinal + Ordinal + Ordinal, 2, Ordinal + Ordinal},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CutText(c.text, c.max), c.expected) << c.text << " / " << c.max;
}

TEST(TrayTexts, AreCutAtTheirBounds) {
    EXPECT_EQ(TrayTip(std::string(150, 'h')), std::string(127, 'h'));
    EXPECT_EQ(TrayTip(std::string(127, 'h')), std::string(127, 'h'));
    EXPECT_EQ(BalloonTitle(std::string(70, 't')), std::string(63, 't'));
    EXPECT_EQ(BalloonText(std::string(300, 'x')), std::string(255, 'x'));
    // A multi-byte sign counts as one character, as it is one on the tray.
    const std::string hint = std::string(126, 'a') + Ordinal + "C";
    EXPECT_EQ(TrayTip(hint), std::string(126, 'a') + Ordinal);
}

TEST(TrayAnimation, CyclesThroughFourFrames) {
    const int expected[] = {1, 2, 3, 0};
    for (int frame = 0; frame < 4; ++frame)
        EXPECT_EQ(NextAnimationFrame(frame), expected[frame]);
}

} // namespace
} // namespace nimbrel
