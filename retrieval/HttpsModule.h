#pragma once
// The HTTPS client lives in a module of its own, loaded by the first run that fetches over
// HTTPS. libcurl and the TLS, Kerberos and directory libraries behind it then cost a program
// that fetches over FTP, as it does by default, nothing: neither start-up time nor memory.
#include "retrieval/StationSource.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace nimbrel {

// What the module's client is to reach and trust.
struct HttpsEndpoint {
    std::string Host;
    uint16_t Port = 443;
    std::string CaFile; // empty: the system's CA store
};

// The desktop program's counterpart of the command-line tool's --ca-file: the certificates to
// trust instead of the system's, for private mirrors.
inline constexpr const char* CaFileVariable = "NIMBREL_CA_FILE";

// nimbrel-https.so, or nimbrel-https.dll on Windows.
std::string HttpsModuleFileName();

// Where the module is looked for, in this order: beside the program, then in the program's
// library folder (bin/../lib/nimbrel when installed).
std::vector<std::filesystem::path> HttpsModuleFolders();

// The HTTPS way to the endpoint, not yet connected. Its Connect, on the thread that runs the
// fetch, loads the module from the first of the folders that holds it, so the loading never
// holds up the caller's thread and a missing or broken module fails the run with a clear
// message (a std::runtime_error). A module loaded by an earlier run is the same one: it stays
// loaded until the process ends.
std::unique_ptr<StationSource> MakeHttpsSource(HttpsEndpoint endpoint,
                                               std::vector<std::filesystem::path> folders);

// The module's one entry point, by this name. It makes the client into source, unless version is
// not the version it was built as: a module of another build may not share this one's types.
inline constexpr const char* HttpsModuleEntryName = "NimbrelMakeHttpsSource";
using HttpsModuleEntry = bool (*)(const char* version, const HttpsEndpoint& endpoint,
                                  std::unique_ptr<StationSource>& source);

} // namespace nimbrel
