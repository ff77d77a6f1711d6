#pragma once
// What a fetch run needs of a way to reach the weather server: open a session, fetch station
// files one by one, close it, and be stopped from another thread. Failures are thrown as
// std::runtime_error (EFtpError, EHttpsError) carrying the text the log shows.
#include <chrono>
#include <cstddef>
#include <string>

namespace nimbrel {

// The file a station's report is in, on either way of fetching it.
inline std::string StationFileName(const std::string& code) {
    return code + ".TXT";
}

// A station file is a date line and a report line; a server that sends more than this is not
// sending one, and the run fails rather than hold it.
inline constexpr std::size_t MaxFileBytes = 1024 * 1024;
inline std::string FileTooLargeMessage(const std::string& fileName) {
    return "The station file " + fileName + " is larger than 1 MiB.";
}

class StationSource {
public:
    virtual ~StationSource() = default;

    virtual void Connect() = 0;
    // Once after Connect, before the first file.
    virtual void EnterStationDirectory() = 0;
    // Replaces the buffer's contents with the bytes of the station's file (CODE.TXT).
    virtual void Retrieve(const std::string& code, std::string& buffer) = 0;
    // Never throws; does nothing when not connected.
    virtual void Disconnect() = 0;
    // Any thread: makes a blocked operation return at once with a failure and every later one
    // fail. Waits at most grace for the thread running the source to have let go.
    virtual void Abort(std::chrono::milliseconds grace) = 0;
};

} // namespace nimbrel
