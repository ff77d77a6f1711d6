#include "support/retrieval/PyFtpServer.h"

#include <array>
#include <cstdlib>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace nimbrel::testing {

namespace {

// Debian's pyftpdlib belongs to the system interpreter, whatever python3 is first on PATH.
constexpr const char* Python = "/usr/bin/python3";

// Reads the first line the server prints: its port. Empty when it ended first.
std::string ReadFirstLine(int fd) {
    std::string line;
    char c = 0;
    while (line.size() < 16 && read(fd, &c, 1) == 1 && c != '\n') {
        line += c;
    }
    return line;
}

} // namespace

PyFtpServer::PyFtpServer(const std::string& root) {
    std::array<int, 2> pipeFds{};
    if (pipe(pipeFds.data()) != 0) {
        return;
    }
    const std::string script =
        std::string(NIMBREL_SOURCE_DIR) + "/tests/support/retrieval/serve_ftp.py";
    pid_ = fork();
    if (pid_ == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        execl(Python, Python, script.c_str(), root.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    const std::string line = pid_ > 0 ? ReadFirstLine(pipeFds[0]) : "";
    close(pipeFds[0]);
    const long port = std::strtol(line.c_str(), nullptr, 10);
    port_ = port > 0 && port < 65536 ? static_cast<uint16_t>(port) : 0;
}

PyFtpServer::~PyFtpServer() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

} // namespace nimbrel::testing
