#include "retrieval/GetWeatherThread.h"

#include "base/TextTime.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <exception>

namespace nimbrel {

ServerAddressError ParseServerAddress(const std::string& text, FtpServerAddress& address) {
    const std::size_t colon = text.rfind(':');
    address.Host = text.substr(0, colon);
    if (colon != std::string::npos) {
        unsigned port = 0;
        const char* first = text.data() + colon + 1;
        const char* last = text.data() + text.size();
        const auto [end, error] = std::from_chars(first, last, port);
        if (error != std::errc() || end != last || port < 1 || port > 65535) {
            return ServerAddressError::BadPort;
        }
        address.Port = static_cast<uint16_t>(port);
    }
    return address.Host.empty() ? ServerAddressError::NoHost : ServerAddressError::None;
}

void TakeStationTexts(const std::array<std::string, LocationSlotCount>& buffers,
                      std::array<std::string, LocationSlotCount>& metar,
                      bool& primaryWeatherHasChanged) {
    for (std::size_t slot = 0; slot < buffers.size(); ++slot) {
        if (buffers[slot].empty()) {
            continue;
        }
        std::string text(TrimBlanks(buffers[slot]));
        if (slot == 0) {
            primaryWeatherHasChanged = text != metar[0];
        }
        metar[slot] = std::move(text);
    }
}

bool IsSafeStationCode(std::string_view code) {
    const auto unsafe = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= ' ' || byte == 0x7F || c == '/';
    };
    return !code.empty() && std::none_of(code.begin(), code.end(), unsafe);
}

std::string UnsafeStationCodeMessage(std::string_view code) {
    std::string shown;
    for (const char c : code) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < ' ' || byte == 0x7F) {
            static constexpr char hex[] = "0123456789ABCDEF";
            shown += std::string("\\x") + hex[byte >> 4] + hex[byte & 0xF];
        } else {
            shown += c;
        }
    }
    return "The station code \"" + shown + "\" cannot be sent to the server.";
}

// Everything the worker thread and the main thread share. The thread holds it by shared_ptr, so
// an abandoned worker that is still unwinding never touches freed memory.
struct TGetWeatherThread::Run {
    FetchRequest request;
    // Outlives the scheduler, unlike a reference to it. Declared before the client, so it is let
    // go of after it: the end of the process waits for this handle to go as the sign that the
    // worker is done with everything, the client's sockets included.
    MainThreadCall callMain;
    std::function<void(FetchProgress)> progress;
    std::function<void(FetchOutcome)> finished;
    std::unique_ptr<StationSource> client;
    std::atomic<bool> abandoned = false; // written on the main thread only
    std::atomic<bool> ended = false;
    bool delivered = false; // main thread only: the final hand-over has returned

    // Runs fn on the main thread unless the run was abandoned; checked again there, where
    // Abandon runs, so nothing slips through after it.
    void OnMainThread(const std::function<void()>& fn) {
        if (!abandoned) {
            callMain([this, &fn] {
                if (!abandoned) {
                    fn();
                }
            });
        }
    }
    void Notify(FetchProgress step) {
        OnMainThread([this, step] { progress(step); });
    }
    void Deliver(FetchOutcome outcome) {
        OnMainThread([this, &outcome] {
            finished(std::move(outcome));
            delivered = true;
        });
    }
};

TGetWeatherThread::TGetWeatherThread(FetchRequest request, Scheduler& scheduler,
                                     std::function<void(FetchProgress)> progress,
                                     std::function<void(FetchOutcome)> finished)
    : run_(std::make_shared<Run>()) {
    run_->request = std::move(request);
    run_->callMain = scheduler.MainThreadCaller();
    run_->progress = std::move(progress);
    run_->finished = std::move(finished);
    run_->client = MakeStationSource(run_->request);
    thread_ = std::thread([run = run_] {
        Body(run);
        run->ended = true;
    });
}

TGetWeatherThread::~TGetWeatherThread() {
    Abandon();
    // A worker that has handed over is only leaving the scheduler's call: joining costs
    // nothing, and the scheduler is not touched after the worker is gone. One still in the
    // network (or whose hand-over is running right now, below us) is left to finish alone.
    if (run_->delivered || run_->ended) {
        thread_.join();
    } else {
        thread_.detach();
    }
}

void TGetWeatherThread::Abandon() {
    run_->abandoned = true;
    // A run still under way gets a moment to send its QUIT before the caller goes on (and the
    // program perhaps ends); a finished one has already disconnected.
    const bool underWay = !run_->delivered && !run_->ended;
    run_->client->Abort(underWay ? std::chrono::milliseconds(50) : std::chrono::milliseconds(0));
}

void TGetWeatherThread::Body(const std::shared_ptr<Run>& run) {
    FetchOutcome outcome;
    StationSource& client = *run->client;
    // A code that could smuggle a command of its own onto the control connection fails the run
    // before anything goes out.
    for (const std::string& code : run->request.LocationCodes) {
        if (!code.empty() && !IsSafeStationCode(code)) {
            outcome.Failed = true;
            outcome.ErrorMessage = UnsafeStationCodeMessage(code);
            run->Deliver(std::move(outcome));
            return;
        }
    }
    run->Notify(FetchProgress::Connecting);
    try {
        try {
            client.Connect();
            run->Notify(FetchProgress::Retrieving);
            client.EnterStationDirectory();
            for (std::size_t slot = 0; slot < outcome.Buffers.size(); ++slot) {
                const std::string& code = run->request.LocationCodes[slot];
                if (!code.empty()) {
                    client.Retrieve(code, outcome.Buffers[slot]);
                }
            }
        } catch (...) {
            run->Notify(FetchProgress::Disconnecting);
            client.Disconnect();
            throw;
        }
        run->Notify(FetchProgress::Disconnecting);
        client.Disconnect();
    } catch (const std::exception& error) {
        outcome = FetchOutcome{};
        outcome.Failed = true;
        outcome.ErrorMessage = error.what();
    }
    run->Deliver(std::move(outcome));
}

} // namespace nimbrel
