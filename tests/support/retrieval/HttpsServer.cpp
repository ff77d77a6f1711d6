#include "support/retrieval/HttpsServer.h"

#include <sstream>
#include <thread>

namespace nimbrel::testing {

HttpsServer::HttpsServer(const std::string& root)
    : server_("serve_https.py", {folder_.Path().string(), root}) {
    std::istringstream line(server_.FirstLine());
    long port = 0;
    long wrongHostPort = 0;
    line >> port >> wrongHostPort;
    port_ = AsPort(port);
    wrongHostPort_ = AsPort(wrongHostPort);
}

int HttpsServer::Count(const std::string& event) const {
    std::istringstream lines(ReadFile(folder_.File("events")));
    int count = 0;
    for (std::string line; std::getline(lines, line);) {
        count += line == event ? 1 : 0;
    }
    return count;
}

bool HttpsServer::WaitFor(const std::string& event, int count) const {
    for (int i = 0; i < 500; ++i) {
        if (Count(event) >= count) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

} // namespace nimbrel::testing
