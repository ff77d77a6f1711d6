#pragma once
// The HTTPS way to the station files, for networks that block FTP: one libcurl handle per run,
// so every file of the run goes over the same kept-alive connection. Built into a module of its
// own, which the program loads when a run first needs it (HttpsModule.h). The server's certificate
// and host name are verified; redirects are followed a few times, and only to https.
#include "retrieval/StationSource.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace nimbrel {

class EHttpsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr long MaxHttpsRedirects = 3;

// The address of a station's file on the server: https://HOST[:PORT]/DIRECTORY/CODE.TXT; the
// port is left out when it is 443.
std::string StationFileUrl(const std::string& host, uint16_t port, const std::string& code);

class HttpsClient final : public StationSource {
public:
    std::string Host;
    uint16_t Port = 443;
    std::string CaFile; // empty: the system's CA store

    HttpsClient();
    ~HttpsClient() override;
    HttpsClient(const HttpsClient&) = delete;
    HttpsClient& operator=(const HttpsClient&) = delete;

    void Connect() override;
    void EnterStationDirectory() override {} // every file's address names it
    void Retrieve(const std::string& code, std::string& buffer) override;
    void Disconnect() override;
    void Abort(std::chrono::milliseconds grace) override;

private:
    struct Handles;
    void Perform();
    [[noreturn]] void ThrowTransferError(int result) const;

    std::unique_ptr<Handles> handles_;
    std::atomic<bool> aborted_ = false;
};

} // namespace nimbrel
