#include "settings/LocationDatabase.h"

#include "settings/Settings.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace nimbrel {
namespace {

using testing::TempFolder;
using testing::WriteFile;

TEST(ReadCountries, KeepsFileOrderAndLeavesOutLinesWithoutNameOrOffset) {
    const TempFolder folder;
    WriteFile(folder.File(CountriesFileName), "; shipped\n"
                                              "[Countries]\n"
                                              "ZZ=Zed;3\n"
                                              "NOSEMI=No separator\n"
                                              "NOOFF=No offset;\n"
                                              "NONAME=;4\n"
                                              "EMPTY=\n"
                                              "AA=Aland;-5\n"
                                              "TWO=Two; parts;x\n"
                                              "[Other]\n"
                                              "OO=Other;1\n");
    const std::vector<TCountry> expected{
        {"ZZ", "Zed", "3"}, {"AA", "Aland", "-5"}, {"TWO", "Two", " parts;x"}};
    EXPECT_EQ(ReadCountries(folder.File(CountriesFileName)), expected);
}

TEST(ReadCountries, LetsPendingEventsRunAfterEveryLine) {
    const TempFolder folder;
    WriteFile(folder.File(CountriesFileName), "[Countries]\nA=A;1\nB=;2\nC=C;3\n");
    int calls = 0;
    ReadCountries(folder.File(CountriesFileName), [&calls] { ++calls; });
    EXPECT_EQ(calls, 3);
}

struct CitiesCase {
    friend void PrintTo(const CitiesCase& c, std::ostream* out) { *out << c.Name; }
    const char* Name;
    const char* Key;
    std::vector<TCity> Expected;
};

class ReadCitiesOf : public ::testing::TestWithParam<CitiesCase> {};

TEST_P(ReadCitiesOf, ListsTheSectionWhole) {
    const TempFolder folder;
    WriteFile(folder.File(CitiesFileName), "[NL]\n"
                                           "EHRD=Rotterdam\n"
                                           "EHAM=Amsterdam Airport Schiphol\n"
                                           "EHXX=\n"
                                           "[US-5]\n"
                                           "KJFK=New York, Kennedy\n"
                                           "[Empty]\n");
    EXPECT_EQ(ReadCities(folder.File(CitiesFileName), GetParam().Key), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadCitiesOf,
    ::testing::Values(
        CitiesCase{"FileOrderEmptyNameKept",
                   "NL",
                   {{"EHRD", "Rotterdam"}, {"EHAM", "Amsterdam Airport Schiphol"}, {"EHXX", ""}}},
        CitiesCase{"KeyIgnoresCase", "us-5", {{"KJFK", "New York, Kennedy"}}},
        CitiesCase{"EmptySection", "Empty", {}}, CitiesCase{"MissingSection", "FR", {}}),
    [](const auto& info) { return std::string(info.param.Name); });

struct FolderCase {
    friend void PrintTo(const FolderCase& c, std::ostream* out) { *out << c.Name; }
    const char* Name;
    std::vector<std::string> Files;      // relative to <temp>/bin's parent
    std::optional<std::string> Expected; // relative to <temp>
};

class DatabaseFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(DatabaseFolder, IsTheFirstFolderHoldingBothFiles) {
    const TempFolder root;
    std::filesystem::create_directories(root.Path() / "bin");
    for (const std::string& file : GetParam().Files) {
        WriteFile(root.File(file), "");
    }
    const auto found = FindDatabaseFolder(root.File("bin"));
    if (GetParam().Expected) {
        ASSERT_TRUE(found.has_value());
        EXPECT_TRUE(std::filesystem::equivalent(*found, root.File(*GetParam().Expected)));
    } else {
        EXPECT_FALSE(found.has_value()) << *found;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DatabaseFolder,
    ::testing::Values(
        FolderCase{"BesideTheProgram", {"bin/Countries.ini", "bin/Cities.ini"}, "bin"},
        FolderCase{"CitiesMissing", {"bin/Countries.ini"}, std::nullopt},
        FolderCase{"CountriesMissing", {"bin/Cities.ini"}, std::nullopt},
        FolderCase{"NoneAtAll", {}, std::nullopt},
        FolderCase{
            "FolderNamedLikeAFile", {"bin/Countries.ini", "bin/Cities.ini/x"}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.Name); });

#ifndef _WIN32
INSTANTIATE_TEST_SUITE_P(
    Installed, DatabaseFolder,
    ::testing::Values(
        FolderCase{"InShareFolder",
                   {"share/nimbrel/Countries.ini", "share/nimbrel/Cities.ini"},
                   "share/nimbrel"},
        FolderCase{"HalfBesideWholeInShare",
                   {"bin/Countries.ini", "share/nimbrel/Countries.ini", "share/nimbrel/Cities.ini"},
                   "share/nimbrel"},
        FolderCase{"HalfInEach", {"bin/Countries.ini", "share/nimbrel/Cities.ini"}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.Name); });
#endif

TEST(MatchCountries, ByNameOrKeyThenByZoneFamily) {
    const std::vector<TCountry> countries{{"NL", "Netherlands", "1"},
                                          {"US-5", "United States (UTC-5)", "-5"},
                                          {"US-8", "United States (UTC-8)", "-8"},
                                          {"USX", "United Statesia", "0"}};
    using Keys = std::vector<std::string>;
    const auto keys = [&](const std::string& text) {
        Keys result;
        for (const TCountry& country : MatchCountries(countries, text)) {
            result.push_back(country.CountryKey);
        }
        return result;
    };
    EXPECT_EQ(keys("netherlands"), Keys{"NL"});
    EXPECT_EQ(keys("nl"), Keys{"NL"});
    EXPECT_EQ(keys("united states"), (Keys{"US-5", "US-8"}));
    EXPECT_EQ(keys("United States (utc-8)"), Keys{"US-8"});
    EXPECT_EQ(keys("Nether"), Keys{});
    EXPECT_EQ(keys(""), Keys{});
}

// The shipped data must be usable by the dialog as it stands.
TEST(ShippedDatabase, EveryCountryHasStationsAndAUsableOffset) {
    const std::string resources = std::string(NIMBREL_SOURCE_DIR) + "/resources/";
    const std::vector<TCountry> countries = ReadCountries(resources + CountriesFileName);
    ASSERT_GE(countries.size(), 200u);
    std::set<std::string> keys, codes;
    std::size_t stations = 0;
    for (const TCountry& country : countries) {
        EXPECT_TRUE(keys.insert(country.CountryKey).second) << country.CountryKey;
        const auto offset = ParseWholeNumber(country.TimeZoneOffset);
        ASSERT_TRUE(offset.has_value()) << country.Name;
        EXPECT_GE(*offset, -12) << country.Name;
        EXPECT_LE(*offset, 12) << country.Name;
        const std::vector<TCity> cities =
            ReadCities(resources + CitiesFileName, country.CountryKey);
        EXPECT_FALSE(cities.empty()) << country.Name;
        for (const TCity& city : cities) {
            EXPECT_EQ(city.Code.size(), 4u) << city.Code;
            EXPECT_TRUE(codes.insert(city.Code).second) << "listed twice: " << city.Code;
        }
        stations += cities.size();
    }
    EXPECT_GE(stations, 5000u);
    EXPECT_EQ(codes.count("EHAM"), 1u);
}

} // namespace
} // namespace nimbrel
