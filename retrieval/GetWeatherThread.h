#pragma once
// One fetch run: a worker thread that downloads the station files of the configured slots over
// one connection (FTP, or HTTPS where FTP is blocked) and hands the outcome to the main thread.
#include "base/Scheduler.h"
#include "retrieval/StationSource.h"
#include "settings/Settings.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

namespace nimbrel {

inline constexpr uint16_t StandardFtpPort = 21;
inline constexpr uint16_t StandardHttpsPort = 443;

// The weather server; a port given on a command line stands for both ways to it.
struct FtpServerAddress {
    FtpServerAddress() = default;
    FtpServerAddress(std::string host, uint16_t port) : Host(std::move(host)), Port(port) {}

    std::string Host = "tgftp.nws.noaa.gov";
    std::optional<uint16_t> Port; // none given: each way's standard port
    std::string CaFile;           // HTTPS: the certificates to trust; empty: the system's CA store

    uint16_t PortFor(bool https) const {
        return Port.value_or(https ? StandardHttpsPort : StandardFtpPort);
    }
};

// What is wrong with a server given as HOST[:PORT]; the port is looked at first.
enum class ServerAddressError { None, BadPort, NoHost };

// HOST or HOST:PORT, the port a decimal number from 1 to 65535; without one it stays the
// weather server's. The address is filled in as far as the text could be read.
ServerAddressError ParseServerAddress(const std::string& text, FtpServerAddress& address);

inline constexpr const char* WeatherDirectory = "data/observations/metar/stations";
inline constexpr const char* AnonymousUser = "anonymous";
inline constexpr const char* AnonymousPassword = "user@localhost";

// Whether a station code can go into a RETR command as it is: not empty, and free of spaces,
// control characters and "/", any of which could end the command early or leave the directory.
bool IsSafeStationCode(std::string_view code);
// The failure text naming an unsafe code, its control characters shown as \xHH.
std::string UnsafeStationCodeMessage(std::string_view code);

// What a run reads of the settings, copied on the main thread when it starts, so that the
// preferences dialog may change the settings while the run goes on.
struct FetchRequest {
    FtpServerAddress Server;
    std::array<std::string, LocationSlotCount> LocationCodes;
    bool FtpActiveMode = false;
    bool UseHttps = false;
};

// The way to the server that the request asks for, configured but not yet connected.
std::unique_ptr<StationSource> MakeStationSource(const FetchRequest& request);

struct FetchOutcome {
    std::array<std::string, LocationSlotCount>
        Buffers; // the bytes of each slot's file; empty when not fetched
    bool Failed = false;
    std::string ErrorMessage;
};

// Takes every non-empty buffer, trimmed of blanks, as its slot's held text; slot 1 also decides
// whether the primary weather has changed. A slot whose buffer is empty keeps its text and flag.
void TakeStationTexts(const std::array<std::string, LocationSlotCount>& buffers,
                      std::array<std::string, LocationSlotCount>& metar,
                      bool& primaryWeatherHasChanged);

enum class FetchProgress { Connecting, Retrieving, Disconnecting };

// The worker of one run. progress and finished run on the main thread, through the scheduler's
// synchronous call, and never after Abandon. The worker calls through the scheduler's
// MainThreadCaller, so an abandoned worker may outlive the scheduler.
class TGetWeatherThread {
public:
    TGetWeatherThread(FetchRequest request, Scheduler& scheduler,
                      std::function<void(FetchProgress)> progress,
                      std::function<void(FetchOutcome)> finished);
    ~TGetWeatherThread(); // = Abandon(), never waits for the network
    TGetWeatherThread(const TGetWeatherThread&) = delete;
    TGetWeatherThread& operator=(const TGetWeatherThread&) = delete;

    // Main thread: stops the run at once. Its connection is closed so blocked calls return, and
    // nothing it would still deliver reaches the main thread.
    void Abandon();

private:
    struct Run;
    static void Body(const std::shared_ptr<Run>& run);

    std::shared_ptr<Run> run_;
    std::thread thread_;
};

} // namespace nimbrel
