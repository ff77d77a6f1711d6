// The picture cache keeps pixels for a later start: what is kept is read back for the same
// source and size only; a file that is not one whole kept picture counts as missing; a full
// folder is emptied first; a folder that cannot be written fails nothing.
#include "base/PictureCache.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace nimbrel {
namespace {

namespace fs = std::filesystem;
using nimbrel::testing::ScopedEnvironment;
using nimbrel::testing::TempFolder;
using nimbrel::testing::WriteFile;

std::vector<std::uint32_t> Pixels(int side) {
    return std::vector<std::uint32_t>(static_cast<std::size_t>(side * side), 0xFF112233);
}

std::size_t FileCount(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(PictureCache, ReadsBackOnlyWholePicturesOfTheirSourceAndSize) {
    const TempFolder folder;
    const TPictureCache cache(folder.Path());
    cache.Keep("<svg/>", 2, Pixels(2));
    cache.Keep("<svg/>", 3, Pixels(2)); // not 3 x 3 pixels: not kept
    EXPECT_EQ(cache.Read("<svg/>", 2), Pixels(2));
    EXPECT_FALSE(cache.Read("<svg />", 2));
    EXPECT_FALSE(cache.Read("<svg/>", 3));
    const fs::path file = fs::directory_iterator(folder.Path())->path();
    const std::string whole = testing::ReadFile(file.string());
    std::string otherSide = whole;
    otherSide[8] = 3;
    for (const std::string& spoiled :
         {whole.substr(0, whole.size() - 1), "X" + whole.substr(1), otherSide, std::string()}) {
        WriteFile(file.string(), spoiled);
        EXPECT_FALSE(cache.Read("<svg/>", 2)) << spoiled.size() << " bytes";
        cache.Keep("<svg/>", 2, Pixels(2));
        EXPECT_EQ(cache.Read("<svg/>", 2), Pixels(2));
    }
    EXPECT_EQ(FileCount(folder.Path()), 1U); // nothing left aside
}

TEST(PictureCache, AFullFolderIsEmptiedAndAnUnusableOneKeepsNothing) {
    const TempFolder folder;
    const TPictureCache cache(folder.Path());
    for (std::size_t i = 0; i < TPictureCache::MaxPictures; ++i)
        cache.Keep(std::to_string(i), 1, Pixels(1));
    WriteFile(folder.File("left.part"), "a part left behind");
    cache.Keep("one more", 1, Pixels(1));
    EXPECT_EQ(FileCount(folder.Path()), 1U);
    EXPECT_TRUE(cache.Read("one more", 1));
    for (const fs::path& unusable : {fs::path(folder.File("left.part")) / "pictures", fs::path()}) {
        WriteFile(folder.File("left.part"), "not a folder");
        const TPictureCache nowhere(unusable);
        nowhere.Keep("source", 1, Pixels(1));
        EXPECT_FALSE(nowhere.Read("source", 1)) << unusable;
    }
}

#ifndef _WIN32
TEST(PictureCache, FolderFollowsTheDesktopConventions) {
    const struct {
        std::optional<std::string> cacheHome, home;
        fs::path expected;
    } cases[] = {{"/var/cache/u", "/home/u", "/var/cache/u/nimbrel/pictures"},
                 {"relative", "/home/u", "/home/u/.cache/nimbrel/pictures"},
                 {std::nullopt, std::nullopt, fs::path()}};
    for (const auto& [cacheHome, home, expected] : cases) {
        const ScopedEnvironment setCache("XDG_CACHE_HOME", cacheHome);
        const ScopedEnvironment setHome("HOME", home);
        EXPECT_EQ(DefaultPictureCacheFolder(), expected) << expected;
    }
}
#endif

} // namespace
} // namespace nimbrel
