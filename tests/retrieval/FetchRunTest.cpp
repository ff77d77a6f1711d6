#include "app/LoopScheduler.h"
#include "app/MainController.h"
#include "base/ProcessEnd.h"
#include "support/FakeClock.h"
#include "support/FakeScheduler.h"
#include "support/retrieval/ScriptedFtpServer.h"

#include <asio/error.hpp>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace nimbrel {
namespace {

using testing::FakeScheduler;
using testing::ScriptedFtpServer;
using Lines = std::vector<std::string>;

const std::string Eham = "2026/12/08 05:25\nEHAM 080525Z 24012KT 9999 FEW020 12/08 Q1013 NOSIG\n";
const std::string Kjfk = "2026/12/08 05:20\nKJFK 080520Z 31010KT 10SM CLR 02/M05 A3012\n";
const std::string EhamLater = "2026/12/08 05:55\nEHAM 080555Z 25014KT 9999 SCT020 12/07 Q1012\n";

const char* const Connecting = "Connecting to weather server.";
const char* const Retrieving = "Retrieving report...";
const char* const Disconnecting = "Disconnecting from weather server.";
const char* const Refused = "Get weather report aborted: connection already in progress";

class RecordingView final : public MainView {
public:
    std::vector<bool> busy;
    std::string status;
    std::string hint;
    bool animation = false;

    void SetStatusText(const std::string& text) override { status = text; }
    void SetTrayHint(const std::string& text) override { hint = text; }
    void SetTrayAnimation(bool on) override { animation = on; }
    void SetBusyCursor(bool on) override { busy.push_back(on); }
    void LocationsUpdated() override {
        if (updated) {
            updated();
        }
    }
    std::function<void()> updated;
};

ScriptedFtpServer::Script Stations() {
    ScriptedFtpServer::Script script;
    script.Files = {{"EHAM.TXT", Eham}, {"KJFK.TXT", Kjfk}};
    return script;
}

// The controller with everything around it: the test's thread is the main thread.
class FetchRun : public ::testing::Test {
protected:
    void Serve(ScriptedFtpServer::Script script) {
        server = std::make_unique<ScriptedFtpServer>(std::move(script));
        MakeController(server->Port());
    }
    void MakeController(uint16_t port) {
        controller = std::make_unique<TMainController>(scheduler, view, log, settings, nullptr,
                                                       FtpServerAddress{"127.0.0.1", port});
        view.updated = [this] { ++updates; };
    }
    void SetCodes(const Lines& codes) {
        for (int slot = 1; slot <= 5; ++slot) {
            const auto index = static_cast<std::size_t>(slot - 1);
            settings.Slot(slot).LocationCode = index < codes.size() ? codes[index] : "";
        }
    }
    // Starts a run and serves the worker's main-thread calls until it has ended.
    void RunOnce() {
        controller->StartGetWeatherReport();
        ASSERT_TRUE(scheduler.ServeUntil([&] { return !controller->ConnectionInProgress(); }));
    }
    std::string Line(int kind, const std::string& message) const {
        return FormatLogLine(kind, message, clock.LongTimeText(clock.LocalNow()));
    }
    Lines Expected(const std::vector<std::pair<int, std::string>>& entries) const {
        Lines lines;
        for (const auto& [kind, message] : entries) {
            lines.push_back(Line(kind, message));
        }
        return lines;
    }
    FakeScheduler::FakeTimer& Watchdog() { return scheduler.TimerAt(0); }

    testing::FakeClock clock;
    TLogList log{clock};
    FakeScheduler scheduler;
    RecordingView view;
    TSettings settings;
    std::unique_ptr<ScriptedFtpServer> server;
    std::unique_ptr<TMainController> controller;
    int updates = 0;
};

TEST_F(FetchRun, SuccessfulRunHandsOverTrimmedTextsAndLogsItsSteps) {
    Serve(Stations());
    SetCodes({"EHAM", "", "KJFK"});
    RunOnce();
    EXPECT_EQ(log.Lines(), Expected({{0, Connecting}, {0, Retrieving}, {0, Disconnecting}}));
    EXPECT_EQ(controller->METAR(),
              (std::array<std::string, 5>{Eham.substr(0, Eham.size() - 1), "",
                                          Kjfk.substr(0, Kjfk.size() - 1), "", ""}));
    EXPECT_TRUE(controller->PrimaryWeatherHasChanged());
    EXPECT_FALSE(controller->ConnectionFailed());
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(view.busy, (std::vector<bool>{true, false}));
    EXPECT_EQ(view.status, "Getting weather report...");
    EXPECT_EQ(view.hint, "Getting weather report...");
    EXPECT_TRUE(view.animation);
    EXPECT_EQ(Watchdog().Interval(), std::chrono::seconds(30));
    EXPECT_TRUE(Watchdog().IsActive()) << "the watchdog is not stopped by a run's end";
}

TEST_F(FetchRun, EmptySlotsAreNotRequested) {
    Serve(Stations());
    SetCodes({"EHAM"});
    RunOnce();
    ASSERT_TRUE(server->WaitForSessionsEnded(1));
    const Lines commands = server->Commands();
    EXPECT_EQ(std::count_if(commands.begin(), commands.end(),
                            [](const std::string& c) { return c.rfind("RETR ", 0) == 0; }),
              1);
    EXPECT_EQ(commands.at(commands.size() - 2), "RETR EHAM.TXT");
}

TEST_F(FetchRun, SecondRunDecidesWhetherThePrimaryWeatherChanged) {
    struct Case {
        const char* name;
        std::string second;
        std::string metar1;
        bool changed;
    };
    const std::string first = Eham.substr(0, Eham.size() - 1);
    const Case cases[] = {
        {"same report", Eham, first, false},
        {"same report, other padding", "\r\n  " + Eham + "\r\n\r\n", first, false},
        {"new report", EhamLater, EhamLater.substr(0, EhamLater.size() - 1), true},
        {"zero bytes keep text and flag", "", first, true},
        {"blanks only empty the text", " \r\n\r\n", "", true},
        {"case matters", "2026/12/08 05:25\neham", "2026/12/08 05:25\neham", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Serve(Stations());
        SetCodes({"EHAM", "KJFK"});
        RunOnce();
        server->SetFile("EHAM.TXT", c.second);
        RunOnce();
        EXPECT_FALSE(controller->ConnectionFailed());
        EXPECT_EQ(controller->METAR()[0], c.metar1);
        EXPECT_EQ(controller->PrimaryWeatherHasChanged(), c.changed);
        EXPECT_EQ(controller->METAR()[1], Kjfk.substr(0, Kjfk.size() - 1));
    }
}

TEST_F(FetchRun, FailedRunChangesNoTextAndLogsTheErrorAfterDisconnecting) {
    Serve(Stations());
    SetCodes({"EHAM", "KJFK"});
    RunOnce();
    const auto before = controller->METAR();
    server->SetFile("EHAM.TXT", EhamLater);
    server->SetFile("KJFK.TXT", "new text that must not be taken");
    SetCodes({"EHAM", "KJFK", "XXXX"});
    log.Clear();
    RunOnce();
    EXPECT_EQ(log.Lines(), Expected({{0, Connecting},
                                     {0, Retrieving},
                                     {0, Disconnecting},
                                     {2, "ERROR: XXXX.TXT: No such file or directory.\r\n"}}));
    EXPECT_EQ(controller->METAR(), before);
    EXPECT_TRUE(controller->PrimaryWeatherHasChanged()) << "left as the first run set it";
    EXPECT_TRUE(controller->ConnectionFailed());
    EXPECT_EQ(updates, 2);
}

TEST_F(FetchRun, UnreachableServerLogsNoRetrieval) {
    const uint16_t port = testing::UnusedLoopbackPort();
    MakeController(port);
    SetCodes({"EHAM"});
    RunOnce();
    EXPECT_EQ(log.Lines(), Expected({{0, Connecting},
                                     {0, Disconnecting},
                                     {2, "ERROR: Socket Error # " +
                                             std::to_string(asio::error::connection_refused) +
                                             "\r\nConnection refused."}}));
    EXPECT_TRUE(controller->ConnectionFailed());
    EXPECT_EQ(view.busy, (std::vector<bool>{true, false}));
}

TEST_F(FetchRun, StartDuringARunIsRefusedAndTheWatchdogEndsTheRun) {
    ScriptedFtpServer::Script silent = Stations();
    silent.SilentAfter = "USER";
    Serve(silent);
    SetCodes({"EHAM"});
    controller->StartGetWeatherReport();
    ASSERT_TRUE(scheduler.ServeUntil([&] { return server->Commands().size() == 1; }));

    controller->StartGetWeatherReport();
    EXPECT_EQ(log.Lines(), Expected({{0, Connecting}, {1, Refused}}));
    EXPECT_EQ(Watchdog().Starts(), 1) << "a refused start does not re-arm the watchdog";

    Watchdog().Fire();
    EXPECT_FALSE(controller->ConnectionInProgress());
    EXPECT_TRUE(controller->ConnectionFailed());
    EXPECT_EQ(updates, 1);
    EXPECT_FALSE(Watchdog().IsActive());
    EXPECT_EQ(view.busy.back(), false);

    // The abandoned worker takes its leave, unwinds (its socket closes) and delivers nothing.
    ASSERT_TRUE(server->WaitForSessionsEnded(1));
    EXPECT_EQ(server->Commands(), (Lines{"USER anonymous", "QUIT"}));
    scheduler.ServeUntil([] { return true; });
    EXPECT_EQ(log.Lines(), Expected({{0, Connecting}, {1, Refused}}));
    EXPECT_EQ(controller->METAR()[0], "");
    EXPECT_EQ(updates, 1);
}

TEST_F(FetchRun, WatchdogAfterAFinishedRunOnlyDiscardsTheWorkerAndTheNextStartRearmsIt) {
    Serve(Stations());
    SetCodes({"EHAM"});
    RunOnce();
    const Lines lines = log.Lines();
    Watchdog().Fire();
    EXPECT_FALSE(controller->ConnectionFailed());
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(log.Lines(), lines);

    RunOnce();
    EXPECT_EQ(Watchdog().Starts(), 2) << "every start re-arms the watchdog";
    EXPECT_EQ(updates, 2);
}

TEST_F(FetchRun, RunStartedFromTheRefreshOfTheLastOneGoesAhead) {
    Serve(Stations());
    SetCodes({"EHAM"});
    view.updated = [this] {
        if (++updates == 1) {
            controller->StartGetWeatherReport(); // the previous worker is still handing over
        }
    };
    controller->StartGetWeatherReport();
    ASSERT_TRUE(scheduler.ServeUntil([&] { return updates == 2; }));
    EXPECT_FALSE(controller->ConnectionFailed());
    EXPECT_EQ(log.Count(), 6u);
    EXPECT_TRUE(server->WaitForSessionsEnded(2));
}

TEST_F(FetchRun, RunUsesTheSettingsAsTheyWereAtItsStart) {
    Serve(Stations());
    SetCodes({"EHAM"});
    controller->StartGetWeatherReport();
    SetCodes({"KJFK"});
    settings.FtpActiveMode = true;
    ASSERT_TRUE(scheduler.ServeUntil([&] { return !controller->ConnectionInProgress(); }));
    ASSERT_TRUE(server->WaitForSessionsEnded(1));
    const Lines commands = server->Commands();
    EXPECT_NE(std::find(commands.begin(), commands.end(), "RETR EHAM.TXT"), commands.end());
    EXPECT_NE(std::find(commands.begin(), commands.end(), "PASV"), commands.end());
}

TEST_F(FetchRun, ShutdownAbandonsABlockedRunWithoutWaiting) {
    ScriptedFtpServer::Script silent = Stations();
    silent.SilentAfter = "CWD";
    Serve(silent);
    SetCodes({"EHAM"});
    controller->StartGetWeatherReport();
    ASSERT_TRUE(scheduler.ServeUntil([&] { return server->Commands().size() == 6; }));
    controller->Shutdown();
    EXPECT_FALSE(Watchdog().IsActive());
    ASSERT_TRUE(server->WaitForSessionsEnded(1));
    // QUIT goes out only if the worker gets to it within the shutdown's short grace, which a
    // loaded machine may not give it; nothing else may follow the six commands.
    const auto commands = server->Commands();
    EXPECT_TRUE(commands.size() == 6u || (commands.size() == 7u && commands.back() == "QUIT"));
    scheduler.ServeUntil([] { return true; });
    EXPECT_EQ(log.Lines(), Expected({{0, Connecting}, {0, Retrieving}}));
    EXPECT_EQ(updates, 0);
}

TEST_F(FetchRun, UnsafeStationCodeFailsTheRunBeforeConnecting) {
    Serve(Stations());
    SetCodes({"EHAM", "EHAM.TXT\r\nDELE KJFK.TXT\r\nRETR EHAM"});
    RunOnce();
    EXPECT_EQ(log.Lines(), Expected({{2, "ERROR: The station code \"EHAM.TXT\\x0D\\x0ADELE "
                                         "KJFK.TXT\\x0D\\x0ARETR EHAM\" cannot be sent to the "
                                         "server."}}));
    EXPECT_TRUE(controller->ConnectionFailed());
    EXPECT_EQ(controller->METAR()[0], "");
    EXPECT_EQ(server->Commands(), Lines{});
}

TEST(StationCode, IsSafeToSendOnlyWithoutSpacesControlsOrSlashes) {
    for (const char* code : {"EHAM", "K1J2", "9999", "EH.AM"}) {
        EXPECT_TRUE(IsSafeStationCode(code)) << code;
    }
    for (const char* code : {"", "EH AM", "EH\tAM", "EHAM\r\n", "EH\x7F", "../EHAM"}) {
        EXPECT_FALSE(IsSafeStationCode(code)) << code;
    }
}

// The command-line tool's way of running: the loop and the controller are gone as soon as the
// watchdog has cut the run, while the abandoned worker is still on its way out. Run it often
// enough, with a watchdog short enough to land anywhere in the run, that a worker calling into
// the gone loop would show (under the sanitizers above all).
TEST(FetchWatchdogCut, AbandonedWorkerNeverCallsIntoTheGoneLoop) {
    ScriptedFtpServer::Script silent = Stations();
    silent.SilentAfter = "CWD";
    const ScriptedFtpServer server(silent);
    SystemClock clock;
    TSettings settings;
    settings.Slot(1).LocationCode = "EHAM";
    std::vector<std::weak_ptr<const void>> loops;
    for (int round = 0; round < 300; ++round) {
        TLogList log(clock);
        // On the heap, so that a call into it once it has gone is caught, and a new loop at
        // the same address cannot hide it.
        auto loop = std::make_unique<LoopScheduler>();
        RecordingView view;
        auto controller = std::make_unique<TMainController>(
            *loop, view, log, settings, nullptr, FtpServerAddress{"127.0.0.1", server.Port()},
            std::chrono::milliseconds(round % 3));
        view.updated = [&loop] { loop->Quit(); };
        controller->StartGetWeatherReport();
        loop->Run();
        ASSERT_TRUE(controller->ConnectionFailed());
        loops.push_back(loop->Lifetime());
        controller.reset();
        loop.reset();
    }
    // The test ends only once every abandoned worker has let go, or the process's static objects
    // (the error categories a worker uses while unwinding) could go first.
    for (const auto& lifetime : loops) {
        ASSERT_TRUE(WaitUntilLetGo(lifetime, std::chrono::seconds(30)))
            << "an abandoned worker never ended";
    }
}

} // namespace
} // namespace nimbrel
