#include "support/retrieval/HttpsServer.h"

#include <algorithm>
#include <chrono>
#include <sstream>

namespace nimbrel::testing {

HttpsServer::HttpsServer(const std::string& root)
    : server_("serve_https.py", {folder_.Path().string(), root}, true) {
    std::istringstream line(server_.FirstLine());
    long port = 0;
    long wrongHostPort = 0;
    line >> port >> wrongHostPort;
    port_ = AsPort(port);
    wrongHostPort_ = AsPort(wrongHostPort);
}

int HttpsServer::Count(const std::string& event) {
    while (const auto line = server_.NextLine(std::chrono::milliseconds(0))) {
        events_.push_back(*line);
    }
    return static_cast<int>(std::count(events_.begin(), events_.end(), event));
}

bool HttpsServer::WaitFor(const std::string& event, int count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Count(event) < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const auto line = server_.NextLine(left);
        if (!line) {
            return false;
        }
        events_.push_back(*line);
    }
    return true;
}

} // namespace nimbrel::testing
