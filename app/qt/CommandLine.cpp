#include "app/qt/CommandLine.h"

namespace nimbrel::gui {

namespace {

CommandLine Error(const std::string& message) {
    CommandLine result;
    result.action = CommandLine::Action::Error;
    result.error = message;
    return result;
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            result.action = CommandLine::Action::Help;
            return result;
        }
        if (arg == "--version") {
            result.action = CommandLine::Action::Version;
            return result;
        }
        std::string value;
        if (arg == "--server") {
            if (i + 1 == args.size())
                return Error("--server needs a value: HOST or HOST:PORT");
            value = args[++i];
        } else if (arg.starts_with("--server=")) {
            value = arg.substr(9);
        } else {
            return Error("unknown argument '" + arg + "'");
        }
        if (ParseServerAddress(value, result.server) != ServerAddressError::None)
            return Error("invalid server '" + value + "': expected HOST or HOST:PORT (1-65535)");
    }
    return result;
}

std::string UsageText() {
    return "Usage: nimbrel [--server HOST[:PORT]]\n"
           "Shows the weather at up to five stations in the system tray and a window.\n"
           "\n"
           "Options:\n"
           "  --server HOST[:PORT]  fetch reports from this server instead of the\n"
           "                        default weather server (port 21, or 443 with\n"
           "                        HTTPS, unless given)\n"
           "  -h, --help            show this help and exit\n"
           "  --version             show the version and exit\n"
           "\n"
           "Environment:\n"
           "  NIMBREL_CA_FILE       certificates (PEM) to trust for HTTPS instead of the\n"
           "                        system's\n";
}

std::string VersionText() {
    return std::string("nimbrel ") + NIMBREL_VERSION + "\n";
}

} // namespace nimbrel::gui
