#include "support/retrieval/PythonServer.h"

#include <array>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace nimbrel::testing {

namespace {

// Debian's pyftpdlib belongs to the system interpreter, whatever python3 is first on PATH.
constexpr const char* Python = "/usr/bin/python3";

std::string ReadFirstLine(int fd) {
    std::string line;
    char c = 0;
    while (line.size() < 64 && read(fd, &c, 1) == 1 && c != '\n') {
        line += c;
    }
    return line;
}

} // namespace

PythonServer::PythonServer(const std::string& script, const std::vector<std::string>& arguments) {
    std::array<int, 2> pipeFds{};
    if (pipe(pipeFds.data()) != 0) {
        return;
    }
    const std::string path = std::string(NIMBREL_SOURCE_DIR) + "/tests/support/retrieval/" + script;
    std::vector<char*> argv{const_cast<char*>(Python), const_cast<char*>(path.c_str())};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        execv(Python, argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    firstLine_ = pid_ > 0 ? ReadFirstLine(pipeFds[0]) : "";
    close(pipeFds[0]);
}

PythonServer::~PythonServer() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

uint16_t AsPort(long value) {
    return value > 0 && value < 65536 ? static_cast<uint16_t>(value) : 0;
}

} // namespace nimbrel::testing
