#include "retrieval/FtpClient.h"
#include "retrieval/GetWeatherThread.h"
#include "retrieval/HttpsModule.h"

#include <stdexcept>

namespace nimbrel {

namespace {

// The FTP session as a run uses it: anonymous login, one change into the station folder, then
// one data connection per file.
class FtpStationSource final : public StationSource {
public:
    FtpStationSource(const FtpServerAddress& server, bool activeMode) {
        client_.Host = server.Host;
        client_.Port = server.PortFor(false);
        client_.Username = AnonymousUser;
        client_.Password = AnonymousPassword;
        client_.Passive = !activeMode;
    }

    void Connect() override { client_.Connect(); }
    void EnterStationDirectory() override { client_.ChangeDirectory(WeatherDirectory); }
    void Retrieve(const std::string& code, std::string& buffer) override {
        client_.Retrieve(StationFileName(code), buffer);
    }
    void Disconnect() override { client_.Disconnect(); }
    void Abort(std::chrono::milliseconds grace) override { client_.Abort(grace); }

private:
    FtpClient client_;
};

#ifndef NIMBREL_HTTPS
// A build without libcurl: the run fails as any unreachable server would, with a clear reason.
class UnavailableSource final : public StationSource {
public:
    void Connect() override {
        throw std::runtime_error("This build of the program cannot fetch reports over HTTPS.");
    }
    void EnterStationDirectory() override {}
    void Retrieve(const std::string&, std::string&) override {}
    void Disconnect() override {}
    void Abort(std::chrono::milliseconds) override {}
};
#endif

} // namespace

std::unique_ptr<StationSource> MakeStationSource(const FetchRequest& request) {
    if (!request.UseHttps) {
        return std::make_unique<FtpStationSource>(request.Server, request.FtpActiveMode);
    }
#ifdef NIMBREL_HTTPS
    return MakeHttpsSource(
        {request.Server.Host, request.Server.PortFor(true), request.Server.CaFile},
        HttpsModuleFolders());
#else
    return std::make_unique<UnavailableSource>();
#endif
}

} // namespace nimbrel
