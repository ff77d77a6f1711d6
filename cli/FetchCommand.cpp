#include "app/LoopScheduler.h"
#include "app/Session.h"
#include "base/Clock.h"
#include "base/ProcessEnd.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "retrieval/GetWeatherThread.h"

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace nimbrel::cli {

namespace {

struct FetchOptions {
    std::string Server;
    bool Active = false;
    bool Https = false;
    std::string CaFile;
    double WatchdogSeconds = 30;
    std::vector<std::string> Codes;
    std::string History;
};

// "HOST" or "HOST:PORT"; the port defaults to the weather server's.
FtpServerAddress ParseServer(const std::string& text) {
    FtpServerAddress address;
    if (text.empty()) {
        return address;
    }
    switch (ParseServerAddress(text, address)) {
    case ServerAddressError::BadPort:
        throw CLI::ValidationError("--server", "port must be a number from 1 to 65535");
    case ServerAddressError::NoHost:
        throw CLI::ValidationError("--server", "host name missing");
    case ServerAddressError::None:
        break;
    }
    return address;
}

// Written so that NaN, which every comparison refuses, is refused too.
CLI::Validator WatchdogRange() {
    return CLI::Validator(
        [](const std::string& text) {
            double seconds = 0;
            const bool number = CLI::detail::lexical_cast(text, seconds);
            return number && seconds >= 1 && seconds <= 3600
                       ? std::string()
                       : std::string("must be a number of seconds from 1 to 3600");
        },
        "SECONDS in [1 - 3600]");
}

// An empty code leaves its slot unused; any other must be safe to send as it is.
CLI::Validator SafeStationCode() {
    return CLI::Validator(
        [](const std::string& code) {
            return code.empty() || IsSafeStationCode(code) ? std::string()
                                                           : UnsafeStationCodeMessage(code);
        },
        "CODE");
}

// The end of the run, by the worker or the watchdog, ends the loop at once.
class RunEndQuitsLoop final : public MainView {
public:
    explicit RunEndQuitsLoop(LoopScheduler& loop) : loop_(loop) {}
    void LocationsUpdated() override { loop_.Quit(); }

private:
    LoopScheduler& loop_;
};

nlohmann::ordered_json Report(const TMainController& controller, const TLogList& log) {
    return {{"log", LogJson(log.Lines())},
            {"METAR", controller.METAR()},
            {"PrimaryWeatherHasChanged", controller.PrimaryWeatherHasChanged()},
            {"ConnectionFailed", controller.ConnectionFailed()}};
}

// Prints the run's report and returns its exit status; lastUse expires once the loop and every
// worker that called into it are gone.
int PrintRun(const FetchOptions& options, std::weak_ptr<const void>& lastUse) {
    FtpServerAddress server = ParseServer(options.Server);
    server.CaFile = options.CaFile;
    const auto watchdog =
        std::chrono::milliseconds(static_cast<long long>(options.WatchdogSeconds * 1000));

    SystemClock clock;
    LoopScheduler loop;
    lastUse = loop.Lifetime();
    RunEndQuitsLoop view(loop);
    SessionOptions sessionOptions;
    sessionOptions.Server = std::move(server);
    sessionOptions.Watchdog = watchdog;
    sessionOptions.ShowReports = false;
    sessionOptions.HistoryPath = options.History;
    Session session(loop, clock, view, std::move(sessionOptions));
    TSettings& settings = session.Settings();
    for (int slot = 1; slot <= LocationSlotCount; ++slot) {
        const auto index = static_cast<std::size_t>(slot - 1);
        settings.Slot(slot).LocationCode =
            index < options.Codes.size() ? options.Codes[index] : std::string();
    }
    settings.FtpActiveMode = options.Active;
    settings.UseHttps = options.Https;
    session.StartGetWeatherReport();
    loop.Run();

    std::cout << Report(session.Controller(), session.Log())
                     .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
              << "\n";
    return session.Controller().ConnectionFailed() ? 1 : 0;
}

// A run cut off by the watchdog leaves its worker to unwind alone; the process ends only once
// that worker is done with the standard library's objects.
int RunFetch(const FetchOptions& options) {
    std::weak_ptr<const void> lastUse;
    const int code = PrintRun(options, lastUse);
    LetThreadsGoOrEnd(code, lastUse);
    return code;
}

} // namespace

void RegisterFetchCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<FetchOptions>();
    CLI::App* sub = app.add_subcommand(
        "fetch", "Run one fetch of the station files of up to five codes and print the result");
    sub->add_option("--server", options->Server,
                    "Weather server as HOST[:PORT] (port 21, or 443 with --https)")
        ->default_str("tgftp.nws.noaa.gov");
    sub->add_flag("--active", options->Active, "Use an active-mode data connection");
    sub->add_flag("--https", options->Https, "Fetch over HTTPS instead of FTP");
    sub->add_option("--ca-file", options->CaFile,
                    "With --https: certificates (PEM) to trust instead of the system's")
        ->check(CLI::ExistingFile);
    sub->add_option("--watchdog", options->WatchdogSeconds, "Seconds before the run is cut off")
        ->check(WatchdogRange())
        ->default_val(30);
    sub->add_option("--history", options->History,
                    "Also keep the fetched reports in this history database, as the program does");
    sub->add_option("CODE", options->Codes, "Station codes, slot 1 first")
        ->required()
        ->expected(1, LocationSlotCount)
        ->check(SafeStationCode());
    sub->callback([options, &exitCode] { exitCode = RunFetch(*options); });
}

} // namespace nimbrel::cli
