#pragma once
// An HTTPS server (serve_https.py on Debian's python3) serving a folder on 127.0.0.1, with a
// throw-away CA and certificates made when it starts. Started by the constructor, which returns
// once it accepts connections; killed by the destructor.
#include "support/TempFolder.h"
#include "support/retrieval/PythonServer.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace nimbrel::testing {

class HttpsServer {
public:
    explicit HttpsServer(const std::string& root);

    // 0 when the server could not be started.
    uint16_t Port() const { return port_; }
    // Serves a certificate for another host name, signed by the same CA.
    uint16_t WrongHostPort() const { return wrongHostPort_; }
    std::string CaFile() const { return folder_.File("ca.pem"); }
    std::string OtherCaFile() const { return folder_.File("other-ca.pem"); }

    // How many times the server has printed event so far (see serve_https.py).
    int Count(const std::string& event);
    // Waits until Count(event) >= count, at most a few seconds; false if it never is.
    bool WaitFor(const std::string& event, int count);

private:
    TempFolder folder_;
    PythonServer server_;
    std::vector<std::string> events_; // what the server has printed after its ports
    uint16_t port_ = 0;
    uint16_t wrongHostPort_ = 0;
};

} // namespace nimbrel::testing
