// The picture cache keeps pixels for a later start: what is kept is read back for the same
// source and size only; a file that is not one whole kept picture of that size counts as
// missing; a full folder is emptied first; a folder that cannot be written fails nothing.
#include "base/PictureCache.h"

#include "base/UserFolders.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace nimbrel {
namespace {

namespace fs = std::filesystem;
using nimbrel::testing::ReadFile;
using nimbrel::testing::ScopedEnvironment;
using nimbrel::testing::TempFolder;
using nimbrel::testing::WriteFile;

std::vector<std::uint32_t> Pixels(int side, std::uint32_t value) {
    return std::vector<std::uint32_t>(static_cast<std::size_t>(side * side), value);
}

std::vector<fs::path> Files(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files.push_back(entry.path());
    return files;
}

TEST(PictureCache, KeepsPicturesForTheirSourceAndSize) {
    const TempFolder folder;
    const TPictureCache cache(folder.Path() / "pictures");
    EXPECT_FALSE(cache.Read("<svg/>", 2));
    cache.Keep("<svg/>", 2, Pixels(2, 0xFF112233));
    EXPECT_EQ(cache.Read("<svg/>", 2), Pixels(2, 0xFF112233));
    EXPECT_FALSE(cache.Read("<svg />", 2));
    EXPECT_FALSE(cache.Read("<svg/>", 3));
    cache.Keep("<svg/>", 3, Pixels(2, 0)); // not 3 x 3 pixels: not kept
    EXPECT_FALSE(cache.Read("<svg/>", 3));
}

TEST(PictureCache, AFileThatIsNotAWholeKeptPictureIsMissingAndKeptAgain) {
    const TempFolder folder;
    const TPictureCache cache(folder.Path());
    cache.Keep("source", 2, Pixels(2, 7));
    const std::string file = Files(folder.Path()).at(0).string();
    const std::string whole = ReadFile(file);
    std::string otherSide = whole;
    otherSide[8] = 3;
    for (const std::string& spoiled :
         {whole.substr(0, whole.size() - 1), "X" + whole.substr(1), otherSide, std::string()}) {
        WriteFile(file, spoiled);
        EXPECT_FALSE(cache.Read("source", 2)) << spoiled.size() << " bytes";
        cache.Keep("source", 2, Pixels(2, 7));
        EXPECT_EQ(cache.Read("source", 2), Pixels(2, 7));
    }
    EXPECT_EQ(Files(folder.Path()).size(), 1U); // nothing left aside
}

TEST(PictureCache, AFullFolderIsEmptiedBeforeTheNextIsKept) {
    const TempFolder folder;
    const TPictureCache cache(folder.Path());
    for (std::size_t i = 0; i < TPictureCache::MaxPictures; ++i)
        cache.Keep(std::to_string(i), 1, Pixels(1, 1));
    WriteFile(folder.File("left.part"), "a part left behind");
    EXPECT_EQ(Files(folder.Path()).size(), TPictureCache::MaxPictures + 1);
    cache.Keep("one more", 1, Pixels(1, 1));
    EXPECT_EQ(Files(folder.Path()).size(), 1U);
    EXPECT_TRUE(cache.Read("one more", 1));
}

TEST(PictureCache, AFolderThatCannotBeWrittenKeepsNothing) {
    const TempFolder folder;
    WriteFile(folder.File("file"), "not a folder");
    for (const fs::path& unusable : {fs::path(folder.File("file")) / "pictures", fs::path()}) {
        const TPictureCache cache(unusable);
        cache.Keep("source", 1, Pixels(1, 1));
        EXPECT_FALSE(cache.Read("source", 1)) << unusable;
    }
}

#ifndef _WIN32
TEST(UserFolders, CacheFolderFollowsTheConventions) {
    const struct {
        std::optional<std::string> cacheHome, home;
        fs::path expected;
    } cases[] = {
        {"/var/cache/u", "/home/u", "/var/cache/u/nimbrel/pictures"},
        {"relative", "/home/u", "/home/u/.cache/nimbrel/pictures"},
        {std::nullopt, "/home/u", "/home/u/.cache/nimbrel/pictures"},
        {std::nullopt, std::nullopt, fs::path()},
    };
    for (const auto& [cacheHome, home, expected] : cases) {
        const ScopedEnvironment setCache("XDG_CACHE_HOME", cacheHome);
        const ScopedEnvironment setHome("HOME", home);
        EXPECT_EQ(DefaultPictureCacheFolder(), expected) << expected;
    }
}
#endif

} // namespace
} // namespace nimbrel
