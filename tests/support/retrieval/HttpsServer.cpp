#include "support/retrieval/HttpsServer.h"

#include <array>
#include <cstdlib>
#include <signal.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace nimbrel::testing {

namespace {

// Debian's interpreter, whatever python3 is first on PATH.
constexpr const char* Python = "/usr/bin/python3";

// The first line the server prints: its two ports. Empty when it ended first.
std::string ReadFirstLine(int fd) {
    std::string line;
    char c = 0;
    while (line.size() < 32 && read(fd, &c, 1) == 1 && c != '\n') {
        line += c;
    }
    return line;
}

uint16_t AsPort(long value) {
    return value > 0 && value < 65536 ? static_cast<uint16_t>(value) : 0;
}

} // namespace

HttpsServer::HttpsServer(const std::string& root) {
    std::array<int, 2> pipeFds{};
    if (pipe(pipeFds.data()) != 0) {
        return;
    }
    const std::string script =
        std::string(NIMBREL_SOURCE_DIR) + "/tests/support/retrieval/serve_https.py";
    const std::string folder = folder_.Path().string();
    pid_ = fork();
    if (pid_ == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        execl(Python, Python, script.c_str(), folder.c_str(), root.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    std::istringstream line(pid_ > 0 ? ReadFirstLine(pipeFds[0]) : "");
    close(pipeFds[0]);
    long port = 0;
    long wrongHostPort = 0;
    line >> port >> wrongHostPort;
    port_ = AsPort(port);
    wrongHostPort_ = AsPort(wrongHostPort);
}

HttpsServer::~HttpsServer() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
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
