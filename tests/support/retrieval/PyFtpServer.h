#pragma once
// A real FTP server (pyftpdlib, Debian's python3-pyftpdlib) serving a folder read-only to
// anonymous users on 127.0.0.1. Started by the constructor, which returns once it accepts
// connections; killed by the destructor.
#include <cstdint>
#include <string>
#include <sys/types.h>

namespace nimbrel::testing {

class PyFtpServer {
public:
    explicit PyFtpServer(const std::string& root);
    ~PyFtpServer();
    PyFtpServer(const PyFtpServer&) = delete;
    PyFtpServer& operator=(const PyFtpServer&) = delete;

    // 0 when the server could not be started.
    uint16_t Port() const { return port_; }

private:
    pid_t pid_ = -1;
    uint16_t port_ = 0;
};

} // namespace nimbrel::testing
