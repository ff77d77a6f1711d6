#pragma once
// One of the test servers written in Python (serve_*.py beside this file), run on Debian's
// python3 as a child process: started by the constructor, which returns once the server has
// printed its first line (its ports) or ended; killed by the destructor. A server that goes on
// printing (events a test waits for) is read line by line with NextLine.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace nimbrel::testing {

class PythonServer {
public:
    // followOutput keeps reading what the server prints after its first line.
    PythonServer(const std::string& script, const std::vector<std::string>& arguments,
                 bool followOutput = false);
    ~PythonServer();
    PythonServer(const PythonServer&) = delete;
    PythonServer& operator=(const PythonServer&) = delete;

    // What the server printed first; empty when it could not be started.
    const std::string& FirstLine() const { return firstLine_; }
    // The next line the server prints, waiting for it at most timeout; none once it is quiet
    // that long or has ended.
    std::optional<std::string> NextLine(std::chrono::milliseconds timeout);

private:
    pid_t pid_ = -1;
    int output_ = -1; // the read end of the server's standard output
    std::string pending_;
    std::string firstLine_;
};

// A port number as a server printed it; 0 for anything else.
uint16_t AsPort(long value);

} // namespace nimbrel::testing
