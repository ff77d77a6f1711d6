#include <array>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace {

const std::string Golden = std::string(NIMBREL_SOURCE_DIR) + "/tests/app/golden/";

struct RunResult {
    int exitCode = -1;
    std::string out;
};

// Runs nimbrel-cli show with the golden folder as the base of every relative file name.
RunResult Show(const std::string& arguments) {
    const std::string command =
        "cd '" + Golden + "' && '" + NIMBREL_CLI_PATH + "' show " + arguments + " 2>/dev/null";
    RunResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    std::array<char, 4096> buffer;
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ShowCommand, PrintsTheRefreshAsInTheGoldenFiles) {
    struct Case {
        const char* golden;
        const char* arguments;
    };
    const Case cases[] = {
        // Metric, Celsius, advanced report, location codes shown; a slot with a code but no
        // report; a changed primary report gives a balloon.
        {"schiphol.json",
         "--settings schiphol.ini --metar 1=EHAM.TXT --changed --utc-now 2026-12-08T13:05"},
        // Imperial units, 12-hour clock, a failed attempt, a half-hour offset read as 0, a hint
        // longer than the tray tip.
        {"imperial.json", "--settings imperial.ini --metar 1=KJFK.TXT --metar 2=EHAM.TXT "
                          "--changed --connection-failed --utc-now 2026-12-08T15:59"},
        // No primary location: the tray stays untouched, the status asks for one.
        {"noprimary.json", "--settings noprimary.ini --metar 1=EHAM.TXT --metar 2=EHAM.TXT "
                           "--changed --utc-now 2026-12-08T00:00"},
    };
    for (const Case& c : cases) {
        const RunResult run = Show(c.arguments);
        EXPECT_EQ(run.exitCode, 0) << c.golden;
        EXPECT_EQ(run.out, ReadFile(Golden + c.golden)) << c.golden;
    }
}

TEST(ShowCommand, RefusesBadInput) {
    struct Case {
        const char* arguments;
        int exitCode;
    };
    const Case cases[] = {
        {"--metar 1=EHAM.TXT", 2},
        {"--settings schiphol.ini --metar 6=EHAM.TXT", 2},
        {"--settings schiphol.ini --metar 0=EHAM.TXT", 2},
        {"--settings schiphol.ini --metar EHAM.TXT", 2},
        {"--settings schiphol.ini --metar 1=", 2},
        {"--settings schiphol.ini --metar 1=EHAM.TXT --metar 1=KJFK.TXT", 2},
        {"--settings schiphol.ini --utc-now 2026-13-01T00:00", 2},
        {"--settings schiphol.ini --metar 1=missing.txt", 1},
        {"--settings . --metar 1=EHAM.TXT", 1},
    };
    for (const Case& c : cases) {
        const RunResult run = Show(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments;
        EXPECT_TRUE(run.out.empty()) << c.arguments;
    }
}

} // namespace
