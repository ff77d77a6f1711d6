#include "support/retrieval/PyFtpServer.h"

#include <cstdlib>

namespace nimbrel::testing {

PyFtpServer::PyFtpServer(const std::string& root)
    : server_("serve_ftp.py", {root}),
      port_(AsPort(std::strtol(server_.FirstLine().c_str(), nullptr, 10))) {}

} // namespace nimbrel::testing
