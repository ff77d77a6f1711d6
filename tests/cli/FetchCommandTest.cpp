#include "support/TempFolder.h"
#include "support/retrieval/ScriptedFtpServer.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>
#include <sys/wait.h>

namespace {

using nimbrel::testing::ScriptedFtpServer;
using Lines = std::vector<std::string>;

const std::string Eham = "2026/12/08 05:25\nEHAM 080525Z 24012KT 9999 FEW020 12/08 Q1013 NOSIG\n";
const std::string Kjfk = "2026/12/08 05:20\nKJFK 080520Z 31010KT 10SM CLR 02/M05 A3012\n";

struct RunResult {
    int exitCode = -1;
    std::string out;
};

RunResult Cli(const std::string& arguments) {
    const std::string command =
        std::string("'") + NIMBREL_CLI_PATH + "' " + arguments + " 2>/dev/null";
    RunResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        result.out.append(buffer.data(), n);
    }
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

RunResult Fetch(const std::string& arguments) {
    return Cli("fetch " + arguments);
}

std::string ServerOption(const ScriptedFtpServer& server) {
    return "--server 127.0.0.1:" + std::to_string(server.Port());
}

ScriptedFtpServer::Script Stations() {
    ScriptedFtpServer::Script script;
    script.Files = {{"EHAM.TXT", Eham}, {"KJFK.TXT", Kjfk}};
    return script;
}

Lines Messages(const nlohmann::json& report) {
    Lines messages;
    for (const auto& entry : report.at("log")) {
        messages.push_back(std::to_string(entry.at("kind").get<int>()) + " " +
                           entry.at("message").get<std::string>());
    }
    return messages;
}

TEST(FetchCommand, PrintsTheRunAsOneJsonObject) {
    ScriptedFtpServer server(Stations());
    const RunResult run = Fetch(ServerOption(server) + " EHAM '' KJFK");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    const auto report = nlohmann::ordered_json::parse(run.out);
    Lines keys;
    for (const auto& item : report.items()) {
        keys.push_back(item.key());
    }
    EXPECT_EQ(keys, (Lines{"log", "METAR", "PrimaryWeatherHasChanged", "ConnectionFailed"}));
    EXPECT_EQ(Messages(report), (Lines{"0 Connecting to weather server.", "0 Retrieving report...",
                                       "0 Disconnecting from weather server."}));
    EXPECT_EQ(report.at("METAR").get<Lines>(), (Lines{Eham.substr(0, Eham.size() - 1), "",
                                                      Kjfk.substr(0, Kjfk.size() - 1), "", ""}));
    EXPECT_TRUE(report.at("PrimaryWeatherHasChanged").get<bool>());
    EXPECT_FALSE(report.at("ConnectionFailed").get<bool>());
    ASSERT_TRUE(server.WaitForSessionsEnded(1));
    EXPECT_EQ(server.Commands(), (Lines{"USER anonymous", "PASS user@localhost", "FEAT", "TYPE I",
                                        "SYST", "CWD data/observations/metar/stations", "PASV",
                                        "RETR EHAM.TXT", "PASV", "RETR KJFK.TXT", "QUIT"}));
}

TEST(FetchCommand, ActiveModeSendsPort) {
    ScriptedFtpServer server(Stations());
    const RunResult run = Fetch(ServerOption(server) + " --active EHAM");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    ASSERT_TRUE(server.WaitForSessionsEnded(1));
    const Lines commands = server.Commands();
    ASSERT_EQ(commands.size(), 9u);
    EXPECT_EQ(commands[6].rfind("PORT 127,0,0,1,", 0), 0u) << commands[6];
    EXPECT_EQ(commands[7], "RETR EHAM.TXT");
}

TEST(FetchCommand, FailedRunExitsWithOneAndLogsTheError) {
    ScriptedFtpServer server(Stations());
    const RunResult run = Fetch(ServerOption(server) + " EHAM KJFK XXXX");
    ASSERT_EQ(run.exitCode, 1) << run.out;
    const auto report = nlohmann::json::parse(run.out);
    EXPECT_EQ(Messages(report).back(), "2 ERROR: XXXX.TXT: No such file or directory.\r\n");
    EXPECT_EQ(report.at("METAR").get<Lines>(), Lines(5, ""));
    EXPECT_TRUE(report.at("ConnectionFailed").get<bool>());
}

TEST(FetchCommand, WatchdogEndsASilentRun) {
    ScriptedFtpServer::Script silent = Stations();
    silent.SilentAfter = "CWD";
    ScriptedFtpServer server(silent);
    const RunResult run = Fetch(ServerOption(server) + " --watchdog 1 EHAM");
    ASSERT_EQ(run.exitCode, 1) << run.out;
    const auto report = nlohmann::json::parse(run.out);
    EXPECT_EQ(Messages(report),
              (Lines{"0 Connecting to weather server.", "0 Retrieving report..."}));
    EXPECT_TRUE(report.at("ConnectionFailed").get<bool>());
    ASSERT_TRUE(server.WaitForSessionsEnded(1));
    EXPECT_EQ(server.Commands().back(), "QUIT") << "the cut-off run still takes its leave";
}

// As large as the per-line and line-count limits let through: 999 lines of 65,000 bytes.
std::string ReplyBomb(const std::string& code) {
    std::string reply;
    for (int line = 0; line < 999; ++line) {
        reply += code + "-" + std::string(65000, 'x') + "\r\n";
    }
    return reply + code + " End.\r\n";
}

struct HostileCase {
    const char* name;
    ScriptedFtpServer::Script script;
    std::string arguments;
    int exitCode;
    std::string lastLog; // empty: no JSON at all
    std::string metar1;
};

void PrintTo(const HostileCase& c, std::ostream* os) {
    *os << c.name;
}

class FetchFromHostileServer : public ::testing::TestWithParam<HostileCase> {};

TEST_P(FetchFromHostileServer, KeepsItsMemoryAndItsReports) {
    const HostileCase& c = GetParam();
    ScriptedFtpServer server(c.script);
    const RunResult run = Fetch(ServerOption(server) + " " + c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_LT(run.out.size(), 16 * 1024u);
    if (c.lastLog.empty()) {
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(server.Commands(), Lines{});
        return;
    }
    const auto report = nlohmann::json::parse(run.out);
    EXPECT_EQ(Messages(report).back(), c.lastLog);
    EXPECT_EQ(report.at("METAR").at(0).get<std::string>(), c.metar1);
}

ScriptedFtpServer::Script Answering(const std::string& verb, const std::string& reply) {
    ScriptedFtpServer::Script script = Stations();
    script.Replies[verb] = reply;
    return script;
}

ScriptedFtpServer::Script WithForger() {
    ScriptedFtpServer::Script script = Stations();
    script.ForgedData = "2026/12/08 05:25\nEHAM 080525Z 00000KT 0050 FG 30/29 Q0950\n";
    return script;
}

const std::string TooLong = "2 ERROR: The server sent a reply longer than 256 KiB.";

INSTANTIATE_TEST_SUITE_P(
    Cases, FetchFromHostileServer,
    ::testing::Values(HostileCase{"RefusalOfAThousandLongLines",
                                  Answering("USER", ReplyBomb("530")), "EHAM", 1, TooLong, ""},
                      HostileCase{"FeatureListOfAThousandLongLines",
                                  Answering("FEAT", ReplyBomb("211")), "EHAM", 1, TooLong, ""},
                      HostileCase{"DataConnectionFromAnotherHost", WithForger(), "--active EHAM", 0,
                                  "0 Disconnecting from weather server.",
                                  Eham.substr(0, Eham.size() - 1)},
                      HostileCase{"CommandsInAStationCode", Stations(),
                                  "\"$(printf 'EHAM.TXT\\r\\nDELE KJFK.TXT\\r\\nRETR EHAM')\"", 2,
                                  "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FetchCommand, BadUsageExitsWithTwo) {
    // A run that got past the checks would connect to nothing but this port.
    const std::string nowhere =
        "--server 127.0.0.1:" + std::to_string(nimbrel::testing::UnusedLoopbackPort()) + " ";
    const std::string cases[] = {
        "",
        "A B C D E F",
        "--server 127.0.0.1:0 EHAM",
        "--server 127.0.0.1:70000 EHAM",
        "--server 127.0.0.1:ftp EHAM",
        "--server :21 EHAM",
        "--watchdog 0 EHAM",
        "--watchdog -3 EHAM",
        "--watchdog soon EHAM",
        nowhere + "--watchdog nan EHAM",
        nowhere + "--watchdog 1e300 EHAM",
        nowhere + "--watchdog 0.5 EHAM",
        nowhere + "--watchdog 3601 EHAM",
        nowhere + "'EH AM'",
        nowhere + "EHAM ../EHAM",
    };
    for (const std::string& arguments : cases) {
        const RunResult run = Fetch(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
    }
}

// A report of today, so the history keeps it whatever day the test runs.
std::string FreshReport(const std::string& station, const std::string& weather) {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    char file[96];
    std::strftime(file, sizeof file, "%Y/%m/%d %H:%M\n", std::gmtime(&now));
    char group[16];
    std::strftime(group, sizeof group, "%d%H%MZ", std::gmtime(&now));
    return file + station + " " + group + " " + weather + "\n";
}

TEST(FetchCommand, KeepsTheReportsInAHistoryThatHistoryPrints) {
    ScriptedFtpServer::Script script;
    script.Files = {{"EHAM.TXT", FreshReport("EHAM", "24010KT 9999 12/08 Q1013")},
                    {"KJFK.TXT", FreshReport("KJFK", "NIL")}};
    ScriptedFtpServer server(script);
    const nimbrel::testing::TempFolder folder;
    const std::string file = "--history '" + folder.File("h.sqlite3") + "' ";
    ASSERT_EQ(Fetch(ServerOption(server) + " " + file + "EHAM KJFK").exitCode, 0);
    ASSERT_EQ(Fetch(ServerOption(server) + " " + file + "EHAM KJFK").exitCode, 0);
    const std::string history = "history --file '" + folder.File("h.sqlite3") + "' ";
    const RunResult eham = Cli(history + "eham");
    EXPECT_EQ(eham.exitCode, 0);
    const auto record = nlohmann::ordered_json::parse(eham.out); // one line: stored once
    Lines keys;
    for (const auto& item : record.items())
        keys.push_back(item.key());
    EXPECT_EQ(keys, (Lines{"ObservedUtc", "Metar", "Temperature", "DewPoint", "Pressure",
                           "WindDirection", "WindSpeed", "Visibility", "Condition"}));
    EXPECT_EQ(record.at("Temperature"), 12);
    EXPECT_TRUE(nlohmann::json::parse(Cli(history + "KJFK").out).at("Temperature").is_null());
    EXPECT_EQ(Cli(history + "--since 2999-01-01T00:00 EHAM").out, "");
    const RunResult none = Cli("history --file '" + folder.File("none") + "' EHAM");
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(Cli(history + "--since yesterday EHAM").exitCode, 2);
}

} // namespace
