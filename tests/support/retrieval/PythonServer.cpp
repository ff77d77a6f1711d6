#include "support/retrieval/PythonServer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace nimbrel::testing {

namespace {

// Debian's pyftpdlib belongs to the system interpreter, whatever python3 is first on PATH.
constexpr const char* Python = "/usr/bin/python3";

} // namespace

PythonServer::PythonServer(const std::string& script, const std::vector<std::string>& arguments,
                           bool followOutput) {
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
    output_ = pipeFds[0];
    if (pid_ > 0) {
        firstLine_ = NextLine(std::chrono::minutes(1)).value_or("");
    }
    if (!followOutput) {
        close(std::exchange(output_, -1));
    }
}

std::optional<std::string> PythonServer::NextLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::size_t end = pending_.find('\n');
    while (end == std::string::npos && output_ >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{output_, POLLIN, 0};
        const int wait = static_cast<int>(std::max<std::int64_t>(0, left.count()));
        if (poll(&ready, 1, wait) <= 0) {
            return std::nullopt;
        }
        std::array<char, 4096> chunk{};
        const ssize_t got = read(output_, chunk.data(), chunk.size());
        if (got <= 0) {
            return std::nullopt;
        }
        pending_.append(chunk.data(), static_cast<std::size_t>(got));
        end = pending_.find('\n');
    }
    if (end == std::string::npos) {
        return std::nullopt;
    }
    std::string line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    return line;
}

PythonServer::~PythonServer() {
    if (output_ >= 0) {
        close(output_);
    }
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

uint16_t AsPort(long value) {
    return value > 0 && value < 65536 ? static_cast<uint16_t>(value) : 0;
}

} // namespace nimbrel::testing
