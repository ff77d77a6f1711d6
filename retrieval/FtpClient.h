#pragma once
// The FTP client of a fetch run: one control connection, anonymous login, image type, one
// directory change and one data connection per retrieved file. Every operation blocks its caller
// until done and reports a failure by throwing EFtpError with the text the log shows.
#include "retrieval/StationSource.h"

#include <asio.hpp>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace nimbrel {

class EFtpError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A server's reply: its three-digit code (-1 when the first line does not start with digits)
// and its text lines, the code and separator removed.
struct FtpReply {
    int Code = -1;
    std::vector<std::string> Lines;

    // The failure message of an unexpected reply: every line followed by CR LF.
    std::string Text() const;
};

// Limits on what a server can make us hold in memory.
inline constexpr std::size_t MaxReplyLineBytes = 64 * 1024;
inline constexpr std::size_t MaxReplyLines = 1000;
inline constexpr std::size_t MaxReplyBytes = 256 * 1024; // all the lines of one reply together

// Takes the first whole line off pending, without its LF and a CR before it; nullopt while no
// LF has arrived. Throws EFtpError once pending holds a line longer than MaxReplyLineBytes.
std::optional<std::string> TakeReplyLine(std::string& pending);

// Puts a reply together from its lines as they arrive, within the limits above.
class FtpReplyReader {
public:
    // Takes the next line; true once it has ended the reply. Throws EFtpError past a limit.
    bool Add(const std::string& line);
    const FtpReply& Reply() const { return reply_; }

private:
    bool Start(const std::string& line);
    bool Continue(const std::string& line);

    FtpReply reply_;
    std::string code_;
    bool started_ = false;
    std::size_t lines_ = 0;
    std::size_t bytes_ = 0;
};

// Where a 227 reply points the data connection; nullopt when the reply names no address.
struct PassiveTarget {
    std::string Address;
    uint16_t Port = 0;
};
std::optional<PassiveTarget> ParsePassiveReply(const std::string& firstLine);

// The PORT argument for a listening address and port: "h1,h2,h3,h4,p1,p2".
std::string PortArgument(const asio::ip::address_v4& address, uint16_t port);

class FtpClient {
public:
    std::string Host;
    uint16_t Port = 21;
    std::string Username;
    std::string Password;
    bool Passive = true;

    FtpClient();
    ~FtpClient();
    FtpClient(const FtpClient&) = delete;
    FtpClient& operator=(const FtpClient&) = delete;

    void Connect();
    void ChangeDirectory(const std::string& path);
    // Replaces the buffer's contents with the file's bytes, exactly as received.
    void Retrieve(const std::string& fileName, std::string& buffer);
    // Never throws; does nothing when not connected.
    void Disconnect();
    bool Connected() const;

    // Any thread: sends QUIT if the control connection can take it at once, then closes every
    // socket of the client so that a blocked operation returns at once with a failure, and makes
    // every later operation fail before touching the network. Waits at most grace for the
    // thread running the client to have done so; only the first call has any effect.
    void Abort(std::chrono::milliseconds grace = std::chrono::milliseconds(0));

    // What the server told us at login; nothing in the program depends on it.
    const FtpReply& Greeting() const { return greeting_; }
    const std::vector<std::string>& Features() const { return features_; }
    const std::string& SystemDescription() const { return systemDescription_; }

private:
    using Accepted = std::initializer_list<int>; // empty: every code is accepted

    void Login();
    FtpReply Command(const std::string& line, Accepted accepted);
    FtpReply ReadReply();
    std::string ReadLine();
    void SendLine(const std::string& line);
    void RetrievePassive(const std::string& fileName, std::string& buffer);
    void RetrieveActive(const std::string& fileName, std::string& buffer);
    void AcceptFromServer();
    void SendRetr(const std::string& fileName);
    void ReadFile(const std::string& fileName, std::string& buffer);
    void ReadQuitReply();
    void CloseAll();
    void QuitAndCloseAll();

    // Starts one operation and runs the io_context on this thread until its handler has run.
    template <typename Initiate> std::pair<std::error_code, std::size_t> Await(Initiate initiate);
    void RunUntil(const bool& done);
    void ThrowIfAborted() const;

    asio::io_context io_;
    asio::executor_work_guard<asio::io_context::executor_type> work_;
    asio::ip::tcp::socket control_;
    asio::ip::tcp::socket data_;
    asio::ip::tcp::acceptor listener_;
    std::string pending_;   // control bytes received but not yet taken as a line
    bool quitSent_ = false; // a stop during the orderly QUIT sends no second one
    std::atomic<bool> aborted_ = false;
    std::atomic<bool> controlOpen_ = false; // readable from any thread, unlike control_
    FtpReply greeting_;
    std::vector<std::string> features_;
    std::string systemDescription_;
};

} // namespace nimbrel
