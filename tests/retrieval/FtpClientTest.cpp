#include "retrieval/FtpClient.h"

#include "support/retrieval/ScriptedFtpServer.h"

#include <gtest/gtest.h>
#include <thread>

namespace nimbrel {
namespace {

using testing::ScriptedFtpServer;
using Lines = std::vector<std::string>;

const std::string Eham = "2026/12/08 05:25\nEHAM 080525Z 24012KT 9999 FEW020 12/08 Q1013 NOSIG\n";
const std::string Kjfk = "2026/12/08 05:20\nKJFK 080520Z 31010KT 10SM CLR 02/M05 A3012\n";

ScriptedFtpServer::Script TwoStations() {
    ScriptedFtpServer::Script script;
    script.Files = {{"EHAM.TXT", Eham}, {"KJFK.TXT", Kjfk}};
    return script;
}

void Prepare(FtpClient& client, const ScriptedFtpServer& server, bool passive = true) {
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    client.Username = "anonymous";
    client.Password = "user@localhost";
    client.Passive = passive;
}

// Runs a whole exchange: connect, change directory, retrieve the files in order, disconnect.
// Returns the failure message, empty when the exchange succeeded.
std::string Exchange(FtpClient& client, const Lines& files, Lines* contents = nullptr) {
    std::string error;
    try {
        client.Connect();
        client.ChangeDirectory("data/observations/metar/stations");
        for (const std::string& file : files) {
            std::string buffer = "stale";
            client.Retrieve(file, buffer);
            if (contents != nullptr) {
                contents->push_back(buffer);
            }
        }
    } catch (const EFtpError& e) {
        error = e.what();
    }
    client.Disconnect();
    return error;
}

const Lines LoginCommands = {"USER anonymous", "PASS user@localhost",
                             "FEAT",           "TYPE I",
                             "SYST",           "CWD data/observations/metar/stations"};

Lines Concat(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct ExchangeCase {
    const char* name;
    ScriptedFtpServer::Script script;
    bool passive;
    Lines files;
    Lines commands; // what the server must have seen, in order
    std::string error;
};

void PrintTo(const ExchangeCase& c, std::ostream* os) {
    *os << c.name;
}

class FtpClientExchange : public ::testing::TestWithParam<ExchangeCase> {};

TEST_P(FtpClientExchange, SendsTheCommandsAndReportsTheOutcome) {
    const ExchangeCase& c = GetParam();
    ScriptedFtpServer server(c.script);
    FtpClient client;
    Prepare(client, server, c.passive);
    EXPECT_EQ(Exchange(client, c.files), c.error);
    EXPECT_FALSE(client.Connected());
    ASSERT_TRUE(server.WaitForSessionsEnded(1));
    // A PORT argument names a fresh listening port each time: a trailing "*" matches it. The
    // address is the control connection's local one, where the client listens.
    const Lines seen = server.Commands();
    ASSERT_EQ(seen.size(), c.commands.size()) << ::testing::PrintToString(seen);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        const std::string& expected = c.commands[i];
        if (expected.back() == '*') {
            EXPECT_EQ(seen[i].rfind(expected.substr(0, expected.size() - 1), 0), 0u) << seen[i];
        } else {
            EXPECT_EQ(seen[i], expected);
        }
    }
}

ScriptedFtpServer::Script With(std::map<std::string, std::string> replies) {
    ScriptedFtpServer::Script script = TwoStations();
    script.Replies = std::move(replies);
    return script;
}

ScriptedFtpServer::Script Greeting(std::string greeting) {
    ScriptedFtpServer::Script script = TwoStations();
    script.Greeting = std::move(greeting);
    return script;
}

ScriptedFtpServer::Script PassiveNamingThirdHost() {
    ScriptedFtpServer::Script script = TwoStations();
    script.PassiveHost = "192,0,2,10";
    return script;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FtpClientExchange,
    ::testing::Values(
        ExchangeCase{"PassiveTwoFiles", TwoStations(), true, {"EHAM.TXT", "KJFK.TXT"},
                     Concat(LoginCommands, {"PASV", "RETR EHAM.TXT", "PASV", "RETR KJFK.TXT",
                                            "QUIT"}),
                     ""},
        ExchangeCase{"NoFiles", TwoStations(), true, {}, Concat(LoginCommands, {"QUIT"}), ""},
        ExchangeCase{"UserAnswered230GetsNoPass", With({{"USER", "230 Welcome.\r\n"}}), true,
                     {"EHAM.TXT"},
                     {"USER anonymous", "FEAT", "TYPE I", "SYST",
                      "CWD data/observations/metar/stations", "PASV", "RETR EHAM.TXT", "QUIT"},
                     ""},
        ExchangeCase{"UserAnswered232GetsNoPass", With({{"USER", "232 Logged in.\r\n"}}), true,
                     {},
                     {"USER anonymous", "FEAT", "TYPE I", "SYST",
                      "CWD data/observations/metar/stations", "QUIT"},
                     ""},
        ExchangeCase{"FeatAndSystRefused", With({{"FEAT", "500 No.\r\n"}, {"SYST", "500 No.\r\n"}}),
                     true, {"EHAM.TXT"},
                     Concat(LoginCommands, {"PASV", "RETR EHAM.TXT", "QUIT"}), ""},
        ExchangeCase{"MultiLineGreeting",
                     Greeting("220-Welcome\r\n220-to the server\r\n220 Ready.\r\n"), true, {},
                     Concat(LoginCommands, {"QUIT"}), ""},
        ExchangeCase{"PassiveWithoutParentheses",
                     [] {
                         auto s = TwoStations();
                         s.PassiveParentheses = false;
                         return s;
                     }(),
                     true, {"KJFK.TXT"}, Concat(LoginCommands, {"PASV", "RETR KJFK.TXT", "QUIT"}),
                     ""},
        ExchangeCase{"MissingThirdFileFailsWithTheServersText", TwoStations(), true,
                     {"EHAM.TXT", "KJFK.TXT", "XXXX.TXT"},
                     Concat(LoginCommands, {"PASV", "RETR EHAM.TXT", "PASV", "RETR KJFK.TXT",
                                            "PASV", "RETR XXXX.TXT", "QUIT"}),
                     "XXXX.TXT: No such file or directory.\r\n"},
        ExchangeCase{"AccountRequestedFails",
                     With({{"PASS", "332 Need account for login.\r\n"}}), true, {"EHAM.TXT"},
                     {"USER anonymous", "PASS user@localhost", "QUIT"}, "Need account for login.\r\n"},
        ExchangeCase{"LoginRefused", With({{"PASS", "530-Login incorrect.\r\n530 Bye.\r\n"}}),
                     true, {}, {"USER anonymous", "PASS user@localhost", "QUIT"},
                     "Login incorrect.\r\nBye.\r\n"},
        ExchangeCase{"GreetingNot220", Greeting("421 Too many users.\r\n"), true, {}, {"QUIT"},
                     "Too many users.\r\n"},
        ExchangeCase{"TypeRefused", With({{"TYPE", "504 Not that type.\r\n"}}), true, {},
                     {"USER anonymous", "PASS user@localhost", "FEAT", "TYPE I", "QUIT"},
                     "Not that type.\r\n"},
        ExchangeCase{"DirectoryMissing", With({{"CWD", "550 No such directory.\r\n"}}), true,
                     {"EHAM.TXT"}, Concat(LoginCommands, {"QUIT"}), "No such directory.\r\n"},
        ExchangeCase{"DirectoryChangedWith200", With({{"CWD", "200 OK.\r\n"}}), true, {},
                     Concat(LoginCommands, {"QUIT"}), ""},
        ExchangeCase{"PassiveRefused", With({{"PASV", "425 No passive mode.\r\n"}}), true,
                     {"EHAM.TXT"}, Concat(LoginCommands, {"PASV", "QUIT"}),
                     "No passive mode.\r\n"},
        ExchangeCase{"PassiveReplyWithoutAddress",
                     With({{"PASV", "227 Entering Passive Mode.\r\n"}}), true, {"EHAM.TXT"},
                     Concat(LoginCommands, {"PASV", "QUIT"}),
                     "Unrecognised reply to PASV:\r\nEntering Passive Mode.\r\n"},
        ExchangeCase{"ServerClosesMidReply",
                     [] {
                         auto s = TwoStations();
                         s.HangUpOn = "CWD";
                         return s;
                     }(),
                     true, {"EHAM.TXT"}, LoginCommands, "Connection Closed Gracefully."},
        ExchangeCase{"EndlessReplyLine",
                     [] {
                         auto s = TwoStations();
                         s.EndlessLineOn = "FEAT";
                         return s;
                     }(),
                     true, {}, {"USER anonymous", "PASS user@localhost", "FEAT"},
                     "The server sent a reply line longer than 64 KiB."},
        ExchangeCase{"ActiveTwoFiles", TwoStations(), false, {"EHAM.TXT", "KJFK.TXT"},
                     Concat(LoginCommands, {"PORT 127,0,0,1,*", "RETR EHAM.TXT", "PORT 127,0,0,1,*", "RETR KJFK.TXT",
                                            "QUIT"}),
                     ""},
        ExchangeCase{"ActiveMissingFile", TwoStations(), false, {"XXXX.TXT"},
                     Concat(LoginCommands, {"PORT 127,0,0,1,*", "RETR XXXX.TXT", "QUIT"}),
                     "XXXX.TXT: No such file or directory.\r\n"},
        ExchangeCase{"ActivePortRefused", With({{"PORT", "500 Illegal PORT command.\r\n"}}),
                     false, {"EHAM.TXT"}, Concat(LoginCommands, {"PORT 127,0,0,1,*", "QUIT"}),
                     "Illegal PORT command.\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FtpClientPassive, ConnectsToTheServerWhateverAddressTheReplyNames) {
    ScriptedFtpServer server(PassiveNamingThirdHost());
    FtpClient client;
    Prepare(client, server);
    Lines contents;
    EXPECT_EQ(Exchange(client, {"EHAM.TXT"}, &contents), "");
    EXPECT_EQ(contents, Lines{Eham});
}

} // namespace
} // namespace nimbrel
