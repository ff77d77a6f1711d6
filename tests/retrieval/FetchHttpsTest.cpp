#include "app/MainController.h"
#include "base/TextTime.h"
#include "retrieval/HttpsModule.h"
#include "support/FakeClock.h"
#include "support/FakeScheduler.h"
#include "support/RunEndView.h"
#include "support/TempFolder.h"
#include "support/retrieval/HttpsServer.h"
#include "support/retrieval/ScriptedFtpServer.h"

#include <fstream>
#include <gtest/gtest.h>

namespace nimbrel {
namespace {

using testing::FakeScheduler;
using testing::HttpsServer;
using testing::RunEndView;
using Lines = std::vector<std::string>;

const Lines FiveStations = {"EHAM", "KJFK", "LFPG", "RJTT", "YSSY"};

std::string Report(const std::string& code) {
    return "2026/12/08 05:30\n" + code + " 080530Z 24012KT 9999 FEW020 12/08 Q1013 NOSIG\n";
}

// Whether a file whose name holds part is mapped into this process.
bool Mapped(const std::string& part) {
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        if (line.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// One run of EHAM as the program runs it: the messages it logged.
Lines RunOnce(bool https, const FtpServerAddress& address) {
    TSettings settings;
    settings.UseHttps = https;
    settings.Slot(1).LocationCode = "EHAM";
    testing::FakeClock clock;
    TLogList log(clock);
    FakeScheduler scheduler;
    RunEndView view([] {});
    TMainController controller(scheduler, view, log, settings, nullptr, address);
    controller.StartGetWeatherReport();
    EXPECT_TRUE(scheduler.ServeUntil([&] { return !controller.ConnectionInProgress(); }));
    Lines messages;
    for (const std::string& line : log.Lines()) {
        messages.push_back(ParseLogLine(line).Message);
    }
    return messages;
}

// A run over HTTPS against the local server, from start to hand-over, as the program runs it.
TEST(FetchOverHttps, RunsLikeTheFtpRunAndRefusesWhatItMustNot) {
    enum class Port { Good, WrongHost };
    enum class Ca { Ours, Other };
    struct Case {
        const char* name;
        Lines codes;
        std::string error; // a part of the logged error; empty: the run succeeds
        Port port = Port::Good;
        Ca ca = Ca::Ours;
    };
    const Case cases[] = {
        {"five stations over one connection", FiveStations, ""},
        {"missing station",
         {"EHAM", "XXXX", "KJFK"},
         "The weather server answered \"404 File not found\" for XXXX.TXT."},
        {"file over 1 MiB", {"EHAM", "BIGF"}, "The station file BIGF.TXT is larger than 1 MiB."},
        {"stalled server, ended by the watchdog", {"EHAM", "STAL"}, "watchdog"},
        {"certificate for another host",
         {"EHAM"},
         "HTTPS error: SSL: no alternative certificate",
         Port::WrongHost},
        {"untrusted CA", {"EHAM"}, "HTTPS error: SSL certificate problem", Port::Good, Ca::Other},
        {"redirect to http", {"REDI"}, "HTTPS error: Redirect to http://127.0.0.1:"},
        {"connection closed mid-body", {"CUTS"}, "HTTPS error: transfer closed with"},
    };

    const testing::TempFolder root;
    const std::string stations = root.File("data/observations/metar/stations/");
    for (const std::string& code : FiveStations) {
        testing::WriteFile(stations + code + ".TXT", Report(code));
    }
    testing::WriteFile(stations + "BIGF.TXT", std::string(1536 * 1024, 'x'));

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HttpsServer server(root.Path().string());
        ASSERT_NE(server.Port(), 0) << "the HTTPS server did not start";
        TSettings settings;
        settings.UseHttps = true;
        for (std::size_t slot = 0; slot < c.codes.size(); ++slot) {
            settings.Slots.at(slot).LocationCode = c.codes[slot];
        }
        FtpServerAddress address;
        address.Host = "127.0.0.1";
        address.Port = c.port == Port::Good ? server.Port() : server.WrongHostPort();
        address.CaFile = c.ca == Ca::Ours ? server.CaFile() : server.OtherCaFile();
        testing::FakeClock clock;
        TLogList log(clock);
        FakeScheduler scheduler;
        int updates = 0;
        RunEndView view([&updates] { ++updates; });
        TMainController controller(scheduler, view, log, settings, nullptr, address);

        controller.StartGetWeatherReport();
        const bool stalls = c.error == "watchdog";
        if (stalls) {
            ASSERT_TRUE(scheduler.ServeUntil([&] { return server.Count("stalled") == 1; }));
            scheduler.TimerAt(0).Fire();
            // The abandoned worker lets go of the connection rather than waiting in it.
            EXPECT_TRUE(server.WaitFor("closed", 1));
        } else {
            ASSERT_TRUE(scheduler.ServeUntil([&] { return !controller.ConnectionInProgress(); }));
        }

        EXPECT_EQ(updates, 1);
        EXPECT_EQ(controller.ConnectionFailed(), !c.error.empty());
        const Lines steps = {"Connecting to weather server.", "Retrieving report...",
                             "Disconnecting from weather server."};
        Lines messages;
        for (const std::string& line : log.Lines()) {
            messages.push_back(ParseLogLine(line).Message);
        }
        if (c.error.empty()) {
            EXPECT_EQ(messages, steps);
            for (std::size_t slot = 0; slot < FiveStations.size(); ++slot) {
                EXPECT_EQ(controller.METAR().at(slot),
                          std::string(TrimBlanks(Report(FiveStations[slot]))));
            }
            EXPECT_EQ(server.Count("connect"), 1) << "every file over one kept-alive connection";
        } else {
            EXPECT_EQ(controller.METAR(), (std::array<std::string, 5>{}));
        }
        if (!c.error.empty() && !stalls) {
            ASSERT_EQ(messages.size(), 4u);
            EXPECT_EQ(Lines(messages.begin(), messages.begin() + 3), steps);
            EXPECT_EQ(messages[3].rfind("ERROR: ", 0), 0u) << messages[3];
            EXPECT_NE(messages[3].find(c.error), std::string::npos) << messages[3];
        }
    }
}

// libcurl and the HTTPS module come into the process with its first HTTPS run, which works; an
// FTP run brings in neither.
TEST(FetchOverHttps, OnlyTheFirstHttpsRunLoadsTheModule) {
    if (Mapped(HttpsModuleFileName())) {
        GTEST_SKIP() << "an earlier test of this process fetched over HTTPS";
    }
    const Lines steps = {"Connecting to weather server.", "Retrieving report...",
                         "Disconnecting from weather server."};
    testing::ScriptedFtpServer::Script script;
    script.Files = {{"EHAM.TXT", Report("EHAM")}};
    const testing::ScriptedFtpServer ftp(script);
    EXPECT_EQ(RunOnce(false, {"127.0.0.1", ftp.Port()}), steps);
    EXPECT_FALSE(Mapped(HttpsModuleFileName()));
    EXPECT_FALSE(Mapped("libcurl"));

    const testing::TempFolder root;
    testing::WriteFile(root.File("data/observations/metar/stations/EHAM.TXT"), Report("EHAM"));
    HttpsServer server(root.Path().string());
    FtpServerAddress address("127.0.0.1", server.Port());
    address.CaFile = server.CaFile();
    EXPECT_EQ(RunOnce(true, address), steps);
    EXPECT_TRUE(Mapped(HttpsModuleFileName()));
}

} // namespace
} // namespace nimbrel
