#include "retrieval/FtpClient.h"
#include "support/retrieval/ScriptedFtpServer.h"

#include <asio/error.hpp>
#include <gtest/gtest.h>
#include <thread>

namespace nimbrel {
namespace {

using testing::ScriptedFtpServer;
using Lines = std::vector<std::string>;

std::string Repeat(const std::string& line, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) {
        text += line;
    }
    return text;
}

void Prepare(FtpClient& client, const ScriptedFtpServer& server) {
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    client.Username = "anonymous";
    client.Password = "user@localhost";
}

// Connects and returns the failure message, or "" when the login went through.
std::string ConnectTo(FtpClient& client, const ScriptedFtpServer& server) {
    Prepare(client, server);
    try {
        client.Connect();
        return "";
    } catch (const EFtpError& e) {
        return e.what();
    }
}

struct GreetingCase {
    const char* name;
    std::string greeting;
    int code;
    Lines lines;
};

void PrintTo(const GreetingCase& c, std::ostream* os) {
    *os << c.name;
}

class FtpClientReply : public ::testing::TestWithParam<GreetingCase> {};

TEST_P(FtpClientReply, ReadsCodeAndTextLines) {
    ScriptedFtpServer::Script script;
    script.Greeting = GetParam().greeting;
    ScriptedFtpServer server(script);
    FtpClient client;
    ASSERT_EQ(ConnectTo(client, server), "");
    EXPECT_EQ(client.Greeting().Code, GetParam().code);
    EXPECT_EQ(client.Greeting().Lines, GetParam().lines);
    client.Disconnect();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FtpClientReply,
    ::testing::Values(GreetingCase{"OneLine", "220 Ready.\r\n", 220, {"Ready."}},
                      GreetingCase{"BareCode", "220\r\n", 220, {""}},
                      GreetingCase{"LineFeedOnly", "220 Ready.\n", 220, {"Ready."}},
                      GreetingCase{"BlankLinesBeforeAndBlanksAround",
                                   "\r\n \r\n  220 Ready.  \r\n",
                                   220,
                                   {"Ready."}},
                      GreetingCase{"ContinuationWithCode",
                                   "220-Welcome\r\n220-here\r\n220 Ready.\r\n",
                                   220,
                                   {"Welcome", "here", "Ready."}},
                      GreetingCase{"ContinuationFreeText",
                                   "220-Welcome\r\n   free text\r\n220 Ready.\r\n",
                                   220,
                                   {"Welcome", "free text", "Ready."}},
                      GreetingCase{"ContinuationWithOtherCodeKeepsTheWholeLine",
                                   "220-Welcome\r\n230-not ours\r\n220 Ready.\r\n",
                                   220,
                                   {"Welcome", "230-not ours", "Ready."}},
                      GreetingCase{"BlankLineInsideDoesNotEndIt",
                                   "220-Welcome\r\n\r\n220 Ready.\r\n",
                                   220,
                                   {"Welcome", "", "Ready."}},
                      GreetingCase{"ThousandLinesIsStillAReply",
                                   Repeat("220-line\r\n", 999) + "220 Ready.\r\n", 220,
                                   [] {
                                       Lines lines(999, "line");
                                       lines.push_back("Ready.");
                                       return lines;
                                   }()},
                      GreetingCase{"LongestLineAccepted",
                                   "220 " + std::string(MaxReplyLineBytes - 5, 'x') + "\r\n",
                                   220,
                                   {std::string(MaxReplyLineBytes - 5, 'x')}}),
    [](const auto& info) { return std::string(info.param.name); });

struct FaultCase {
    const char* name;
    std::string greeting;
    std::string error;
    bool hangUp = false;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class FtpClientReplyFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FtpClientReplyFault, FailsTheConnectAndClosesTheConnection) {
    ScriptedFtpServer::Script script;
    script.Greeting = GetParam().greeting;
    script.HangUpAfterGreeting = GetParam().hangUp;
    ScriptedFtpServer server(script);
    FtpClient client;
    EXPECT_EQ(ConnectTo(client, server), GetParam().error);
    EXPECT_FALSE(client.Connected());
    EXPECT_TRUE(server.WaitForSessionsEnded(1));
    client.Disconnect(); // after a failed Connect: nothing happens, nothing is thrown
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FtpClientReplyFault,
    ::testing::Values(
        FaultCase{"MoreThanAThousandLines", Repeat("220-line\r\n", 1000) + "220 Ready.\r\n",
                  "The server sent a reply of more than 1000 lines."},
        FaultCase{"EndlessBlankLines", Repeat("\r\n", 1001) + "220 Ready.\r\n",
                  "The server sent a reply of more than 1000 lines."},
        FaultCase{"LineOneByteTooLong", "220 " + std::string(MaxReplyLineBytes - 3, 'x') + "\r\n",
                  "The server sent a reply line longer than 64 KiB."},
        FaultCase{"ClosedBeforeTheReplyEnds", "220-Welcome\r\n", "Connection Closed Gracefully.",
                  true},
        FaultCase{"NotANumber", "Hello there\r\n220 Ready.\r\n", "o there\r\n220 Ready.\r\n"},
        FaultCase{"ServiceNotAvailable", "421 Try later.\r\n", "Try later.\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FtpClientLogin, KeepsFeaturesAndSystemDescription) {
    struct Case {
        std::map<std::string, std::string> replies;
        Lines features;
        std::string system;
    };
    const Case cases[] = {
        {{}, {"MDTM", "SIZE"}, "UNIX Type: L8"},
        {{{"FEAT", "500 Unknown command.\r\n"}, {"SYST", "500 Unknown command.\r\n"}},
         {},
         "Unknown"},
        {{{"FEAT", "211 No features.\r\n"}, {"SYST", "215 Windows_NT\r\n"}}, {}, "Windows_NT"},
    };
    for (const Case& c : cases) {
        ScriptedFtpServer::Script script;
        script.Replies = c.replies;
        ScriptedFtpServer server(script);
        FtpClient client;
        ASSERT_EQ(ConnectTo(client, server), "");
        EXPECT_EQ(client.Features(), c.features);
        EXPECT_EQ(client.SystemDescription(), c.system);
        client.Disconnect();
    }
}

TEST(FtpClientConnect, RefusedConnectionGivesTheSocketError) {
    const uint16_t port = testing::UnusedLoopbackPort();
    FtpClient client;
    client.Host = "127.0.0.1";
    client.Port = port;
    try {
        client.Connect();
        FAIL() << "connected to a closed port";
    } catch (const EFtpError& e) {
        EXPECT_EQ(std::string(e.what()), "Socket Error # " +
                                             std::to_string(asio::error::connection_refused) +
                                             "\r\nConnection refused.");
    }
    EXPECT_FALSE(client.Connected());
}

TEST(FtpClientAbort, ReturnsABlockedCallAtOnce) {
    ScriptedFtpServer::Script script;
    script.SilentAfter = "USER";
    ScriptedFtpServer server(script);
    FtpClient client;
    std::string error;
    std::thread worker([&] { error = ConnectTo(client, server); });
    ASSERT_TRUE(server.WaitForCommands(1));
    client.Abort();
    worker.join();
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(client.Connected());
    EXPECT_TRUE(server.WaitForSessionsEnded(1));
    EXPECT_THROW(client.Connect(), EFtpError) << "an aborted client stays aborted";
}

struct FileCase {
    const char* name;
    std::string contents;
    std::string error;
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.name;
}

class FtpClientFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(FtpClientFile, KeepsTheBytesAsReceived) {
    ScriptedFtpServer::Script script;
    script.Files = {{"EHAM.TXT", GetParam().contents}};
    ScriptedFtpServer server(script);
    FtpClient client;
    ASSERT_EQ(ConnectTo(client, server), "");
    std::string buffer = "left over from before";
    std::string error;
    try {
        client.Retrieve("EHAM.TXT", buffer);
    } catch (const EFtpError& e) {
        error = e.what();
    }
    EXPECT_EQ(error, GetParam().error);
    if (error.empty()) {
        EXPECT_EQ(buffer, GetParam().contents);
    }
    EXPECT_TRUE(client.Connected()) << "a failed retrieval leaves the control connection open";
    client.Disconnect();
    ASSERT_TRUE(server.WaitForSessionsEnded(1));
    EXPECT_EQ(server.Commands().back(), "QUIT");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FtpClientFile,
    ::testing::Values(FileCase{"ZeroBytes", "", ""}, FileCase{"BlanksOnly", "  \r\n\r\n", ""},
                      FileCase{"BinaryUnchanged", std::string("a\r\nb\0c\xff\n", 9), ""},
                      FileCase{"ExactlyOneMebibyte", std::string(MaxFileBytes, 'm'), ""},
                      FileCase{"OneByteTooMany", std::string(MaxFileBytes + 1, 'm'),
                               "The station file EHAM.TXT is larger than 1 MiB."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FtpClientPassiveReply, ParsesAddressAndPort) {
    struct Case {
        std::string line;
        std::optional<std::string> address;
        uint16_t port;
    };
    const Case cases[] = {
        {"Entering Passive Mode (192,0,2,10,195,80).", "192.0.2.10", 50000},
        {"Entering Passive Mode 192,0,2,10,195,80", "192.0.2.10", 50000},
        {"Entering Passive Mode ( 10, 0, 0, 1, 4, 1 )", "10.0.0.1", 1025},
        {"=127,0,0,1,0,21", std::nullopt, 0},
        {"127,0,0,1,0,21", "127.0.0.1", 21},
        {"Mode (127,0,0,1,0,21,99)", "127.0.0.1", 21},
        {"Entering Passive Mode (192,0,2,10,195", std::nullopt, 0},
        {"Entering Passive Mode (300,0,2,10,195,80)", std::nullopt, 0},
        {"Entering Passive Mode (a,b,c,d,e,f)", std::nullopt, 0},
        {"Entering Passive Mode", std::nullopt, 0},
        {"", std::nullopt, 0},
        {"Odd )(1,2,3,4,5,6", std::nullopt, 0},
    };
    for (const Case& c : cases) {
        const std::optional<PassiveTarget> target = ParsePassiveReply(c.line);
        ASSERT_EQ(target.has_value(), c.address.has_value()) << c.line;
        if (target) {
            EXPECT_EQ(target->Address, *c.address) << c.line;
            EXPECT_EQ(target->Port, c.port) << c.line;
        }
    }
}

TEST(FtpClientPortArgument, SplitsAddressAndPort) {
    const auto loopback = asio::ip::make_address_v4("127.0.0.1");
    EXPECT_EQ(PortArgument(loopback, 50000), "127,0,0,1,195,80");
    EXPECT_EQ(PortArgument(loopback, 255), "127,0,0,1,0,255");
    EXPECT_EQ(PortArgument(asio::ip::make_address_v4("10.1.2.3"), 65535), "10,1,2,3,255,255");
}

} // namespace
} // namespace nimbrel
