#include "app/SingleInstanceGuard.h"

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

} // namespace
} // namespace nimbrel
