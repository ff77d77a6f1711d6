#include "app/SingleInstanceGuard.h"

#include "app/FormFontRule.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace nimbrel {
namespace {

// Windows mutex names are shared by the whole login session: each run takes its own.
std::string UniqueName() {
    std::random_device random;
    return "nimbrel-test-" + std::to_string(random()) + ".exe";
}

TEST(SingleInstanceGuard, RefusesASecondHolderUntilTheFirstEnds) {
    const testing::TempFolder lockFolder;
    const std::string name = UniqueName();
    auto first = std::make_unique<SingleInstanceGuard>(name, lockFolder.Path().string());
    ASSERT_TRUE(first->IsFirstInstance());
    EXPECT_FALSE(SingleInstanceGuard(name, lockFolder.Path().string()).IsFirstInstance());
    EXPECT_TRUE(SingleInstanceGuard(name + "-copy", lockFolder.Path().string()).IsFirstInstance());
    first.reset();
    EXPECT_TRUE(SingleInstanceGuard(name, lockFolder.Path().string()).IsFirstInstance());
}

struct VersionCase {
    int Major, Minor;
    const char* Family;
    int PointSize;
};

TEST(FormFontRule, SegoeOnlyOnVersionsSixZeroAndSixOne) {
    const VersionCase cases[] = {{5, 1, "Tahoma", 8}, {6, 0, "Segoe UI", 9}, {6, 1, "Segoe UI", 9},
                                 {6, 2, "Tahoma", 8}, {6, 3, "Tahoma", 8},   {10, 0, "Tahoma", 8},
                                 {10, 1, "Tahoma", 8}};
    for (const VersionCase& c : cases) {
        const FormFontChoice font = FormFontForVersion(c.Major, c.Minor);
        EXPECT_EQ(font.family, c.Family) << c.Major << "." << c.Minor;
        EXPECT_EQ(font.pointSize, c.PointSize) << c.Major << "." << c.Minor;
    }
}

} // namespace
} // namespace nimbrel
