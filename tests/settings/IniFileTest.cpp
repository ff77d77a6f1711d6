#include "settings/IniFile.h"

#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace nimbrel {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

struct ReadCase {
    friend void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.Name; }
    const char* Name;
    const char* Text;
    const char* Section;
    const char* Key;
    std::optional<std::string> Expected;
};

class IniRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, FindsTheValueLikeTheProfileFunctions) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(TIniFile(c.Text).ReadString(c.Section, c.Key), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniRead,
    ::testing::Values(ReadCase{"Plain", "[P]\nA=1\n", "P", "A", "1"},
                      ReadCase{"SectionCase", "[preferences]\nA=1\n", "Preferences", "A", "1"},
                      ReadCase{"KeyCase", "[P]\nusecelsius=0\n", "P", "UseCelsius", "0"},
                      ReadCase{"BlanksTrimmed", "[P]\n  A  =  x y  \n", "P", "A", "x y"},
                      ReadCase{"BlanksInHeader", "  [ P ]  \nA=1\n", "P", "A", "1"},
                      ReadCase{"TabsTrimmed", "[P]\n\tA\t=\tv\t\n", "P", "A", "v"},
                      ReadCase{"CrLf", "[P]\r\nA=1\r\nB=2\r\n", "P", "B", "2"},
                      ReadCase{"NoFinalLineBreak", "[P]\nA=last", "P", "A", "last"},
                      ReadCase{"PresentButEmpty", "[P]\nA=\n", "P", "A", ""},
                      ReadCase{"Missing", "[P]\nA=1\n", "P", "B", std::nullopt},
                      ReadCase{"MissingSection", "[Q]\nA=1\n", "P", "A", std::nullopt},
                      ReadCase{"FirstKeyWins", "[P]\nA=first\nA=second\n", "P", "A", "first"},
                      ReadCase{"FirstSectionWins", "[P]\nA=1\n[P]\nA=2\nB=3\n", "P", "B",
                               std::nullopt},
                      ReadCase{"OtherSectionIgnored", "[Q]\nA=q\n[P]\nA=p\n", "P", "A", "p"},
                      ReadCase{"KeysBeforeAnySection", "A=orphan\n[P]\n", "P", "A", std::nullopt},
                      ReadCase{"ValueKeepsEquals", "[P]\nA=x=y\n", "P", "A", "x=y"},
                      ReadCase{"ValueKeepsQuotes", "[P]\nA=\"q\"\n", "P", "A", "\"q\""},
                      ReadCase{"SemicolonComment", "[P]\n;A=1\n", "P", "A", std::nullopt},
                      ReadCase{"HashComment", "[P]\n# A=1\n", "P", "A", std::nullopt},
                      ReadCase{"LineWithoutEquals", "[P]\ngarbage\nA=1\n", "P", "A", "1"},
                      ReadCase{"ByteOrderMark", "\xEF\xBB\xBF[P]\nA=1\n", "P", "A", "1"},
                      ReadCase{"Utf8Value", "[P]\nA=Z\xC3\xBCrich\n", "P", "A", "Z\xC3\xBCrich"},
                      ReadCase{"StrayCarriageReturns", "[P\r\r\nA\r=1\r\r\n", "P", "A", "1"}),
    [](const auto& info) { return std::string(info.param.Name); });

struct WriteCase {
    friend void PrintTo(const WriteCase& c, std::ostream* out) { *out << c.Name; }
    const char* Name;
    const char* Before;
    const char* Key;
    const char* Value;
    const char* After;
};

class IniWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, ChangesOnlyWhatItMust) {
    const WriteCase& c = GetParam();
    TIniFile ini(c.Before);
    ini.WriteString("P", c.Key, c.Value);
    // A new file has no line ends of its own to keep.
    EXPECT_EQ(ini.Text(), *c.Before == '\0' ? testing::NativeLineEnds(c.After) : c.After);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWrite,
    ::testing::Values(
        WriteCase{"EmptyFile", "", "A", "1", "[P]\nA=1\n"},
        WriteCase{"InPlace", "[P]\nA=1\nB=2\n", "A", "9", "[P]\nA=9\nB=2\n"},
        WriteCase{"InPlaceOtherCase", "[p]\n  a = 1\n", "A", "9", "[p]\nA=9\n"},
        WriteCase{"OnlyFirstDuplicate", "[P]\nA=1\nA=2\n", "A", "9", "[P]\nA=9\nA=2\n"},
        WriteCase{"AppendedAtEndOfSection", "[P]\nA=1\n\n[Q]\nZ=0\n", "B", "2",
                  "[P]\nA=1\nB=2\n\n[Q]\nZ=0\n"},
        WriteCase{"AppendedAfterComment", "[P]\nA=1\n; mine\n", "B", "2",
                  "[P]\nA=1\n; mine\nB=2\n"},
        WriteCase{"NewSectionAfterOthers", "; top\n[Q]\nZ=0\n", "A", "1",
                  "; top\n[Q]\nZ=0\n\n[P]\nA=1\n"},
        WriteCase{"CommentsAndForeignKeysKept", "; c\n[P]\n; d\nX=keep\nA=1\n", "A", "2",
                  "; c\n[P]\n; d\nX=keep\nA=2\n"},
        WriteCase{"CrLfKept", "[P]\r\nA=1\r\n", "B", "2", "[P]\r\nA=1\r\nB=2\r\n"},
        WriteCase{"ByteOrderMarkKept", "\xEF\xBB\xBF[P]\nA=1\n", "A", "2",
                  "\xEF\xBB\xBF[P]\nA=2\n"},
        WriteCase{"LineBreaksCannotAddKeys", "[P]\n", "A", "x\r\nB=evil", "[P]\nA=x  B=evil\n"},
        WriteCase{"EmptyValue", "[P]\nA=1\n", "A", "", "[P]\nA=\n"}),
    [](const auto& info) { return std::string(info.param.Name); });

// Texts the fuzzer found a save to lose values in, and their neighbours: after a write and a
// save, the written value and every value that was there read back the same.
class IniRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(IniRoundTrip, ReadsBackWhatWasWrittenAndWhatWasThere) {
    TIniFile ini(GetParam());
    const auto before = ini.ReadSection("Other");
    ini.WriteString("Preferences", "LocationName1", "New\r\nValue");
    const TIniFile saved(ini.Text());
    EXPECT_EQ(saved.ReadString("preferences", "locationname1"), "New  Value");
    EXPECT_EQ(saved.ReadSection("Other"), before);
    EXPECT_EQ(saved.Text(), ini.Text());
}

INSTANTIATE_TEST_SUITE_P(FuzzFindings, IniRoundTrip,
                         ::testing::Values("[preferences\r\r", "[preferences\r\r\n",
                                           "[Other]\nA=x\r\r\n[preferences\r\r",
                                           "\r\n[Other]\nA=1\r\r\r\nB=\r2\r\n",
                                           "[Other]\n[\r\nA=1\n\r[Preferences\n"));

TEST(IniSection, ListsEveryEntryInFileOrder) {
    const TIniFile ini("[C]\nB=2\n; note\nA=1\nB=again\nnoequals\n =empty key\n[D]\nX=1\n");
    const std::vector<std::pair<std::string, std::string>> expected{
        {"B", "2"}, {"A", "1"}, {"B", "again"}, {"", "empty key"}};
    EXPECT_EQ(ini.ReadSection("c"), expected);
    EXPECT_TRUE(ini.ReadSection("missing").empty());
}

TEST(IniFileOnDisk, MissingFileReadsEmpty) {
    const TempFolder folder;
    EXPECT_EQ(TIniFile::Load(folder.File("none.ini")).Text(), "");
}

TEST(IniFileOnDisk, OversizedFileIsRefusedWithItsPath) {
    const TempFolder folder;
    const std::string path = folder.File("big.ini");
    std::filesystem::resize_file((WriteFile(path, "x"), path), TIniFile::MaxFileSize + 1);
    try {
        TIniFile::Load(path);
        FAIL() << "an oversized file was read";
    } catch (const IniFileError& error) {
        EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
    }
}

TEST(IniFileOnDisk, SaveCreatesFoldersAndLeavesNoTemporaryFile) {
    const TempFolder folder;
    const std::string path = folder.File("a/b/x.ini");
    TIniFile ini;
    ini.WriteString("P", "A", "1");
    ini.Save(path);
    EXPECT_EQ(ReadFile(path), testing::NativeLineEnds("[P]\nA=1\n"));
    for (const auto& entry : std::filesystem::directory_iterator(folder.File("a/b"))) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "x.ini" || name == "x.ini.lock") << name;
    }
}

TEST(IniFileOnDisk, SaveThroughALinkKeepsTheLink) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need a privilege on Windows that a user rarely has";
#endif
    const TempFolder folder;
    WriteFile(folder.File("real.ini"), "[P]\nA=1\n");
    std::filesystem::create_symlink(folder.File("real.ini"), folder.File("link.ini"));
    TIniFile ini = TIniFile::Load(folder.File("link.ini"));
    ini.WriteString("P", "A", "2");
    ini.Save(folder.File("link.ini"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.ini")));
    EXPECT_EQ(ReadFile(folder.File("real.ini")), "[P]\nA=2\n");
}

} // namespace
} // namespace nimbrel
