#pragma once
// A real FTP server (pyftpdlib, Debian's python3-pyftpdlib) serving a folder read-only to
// anonymous users on 127.0.0.1. Started by the constructor, which returns once it accepts
// connections; killed by the destructor.
#include "support/retrieval/PythonServer.h"

#include <cstdint>
#include <string>

namespace nimbrel::testing {

class PyFtpServer {
public:
    explicit PyFtpServer(const std::string& root);

    // 0 when the server could not be started.
    uint16_t Port() const { return port_; }

private:
    PythonServer server_;
    uint16_t port_ = 0;
};

} // namespace nimbrel::testing
