#pragma once
// One of the test servers written in Python (serve_*.py beside this file), run on Debian's
// python3 as a child process: started by the constructor, which returns once the server has
// printed its first line (its ports) or ended; killed by the destructor.
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

namespace nimbrel::testing {

class PythonServer {
public:
    PythonServer(const std::string& script, const std::vector<std::string>& arguments);
    ~PythonServer();
    PythonServer(const PythonServer&) = delete;
    PythonServer& operator=(const PythonServer&) = delete;

    // What the server printed first; empty when it could not be started.
    const std::string& FirstLine() const { return firstLine_; }

private:
    pid_t pid_ = -1;
    std::string firstLine_;
};

// A port number as a server printed it; 0 for anything else.
uint16_t AsPort(long value);

} // namespace nimbrel::testing
