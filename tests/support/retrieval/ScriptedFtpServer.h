#pragma once
// An FTP server on 127.0.0.1 that a test scripts: the replies to each command, the files it
// serves over passive or active data connections, and the ways a server misbehaves. It serves
// one control connection at a time, on a thread of its own, until destroyed.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace nimbrel::testing {

// A loopback port that was free a moment ago: connecting to it is refused.
uint16_t UnusedLoopbackPort();

class ScriptedFtpServer {
public:
    struct Script {
        std::string Greeting = "220 Scripted server ready.\r\n";
        // Raw replies (CR LF ended lines) that replace the usual answer to a command verb.
        std::map<std::string, std::string> Replies;
        // File name -> contents, for RETR; a missing name gets a 550.
        std::map<std::string, std::string> Files;
        // The address a 227 reply names, with the data listener's real port.
        std::string PassiveHost = "127,0,0,1";
        bool PassiveParentheses = true;
        // After receiving this verb the server never answers again (it still notices a close).
        std::string SilentAfter;
        // The reply to this verb is cut off after its first line and the connection closed.
        std::string HangUpOn;
        // The connection is closed right after the greeting.
        bool HangUpAfterGreeting = false;
        // The reply to this verb is a line that never ends.
        std::string EndlessLineOn;
        // When set, each active-mode transfer is preceded by a connection from 127.0.0.2 to the
        // client's listening port that delivers these bytes.
        std::string ForgedData;
    };

    explicit ScriptedFtpServer(Script script);
    ~ScriptedFtpServer();
    ScriptedFtpServer(const ScriptedFtpServer&) = delete;
    ScriptedFtpServer& operator=(const ScriptedFtpServer&) = delete;

    uint16_t Port() const;
    // Replaces (or adds) a served file; for the next RETR of it.
    void SetFile(const std::string& name, const std::string& contents);
    // The command lines received so far, in order, without CR LF.
    std::vector<std::string> Commands() const;
    // Control connections that have ended, by either side.
    int SessionsEnded() const;
    // Waits (up to a few seconds) until `count` commands have arrived; false on time-out.
    bool WaitForCommands(std::size_t count) const;
    // Waits (up to a few seconds) until `count` sessions have ended; false on time-out.
    bool WaitForSessionsEnded(int count) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace nimbrel::testing
