#include "support/retrieval/ScriptedFtpServer.h"

#include <algorithm>
#include <asio.hpp>
#include <asio/awaitable.hpp>
#include <asio/co_spawn.hpp>
#include <asio/detached.hpp>
#include <asio/use_awaitable.hpp>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace nimbrel::testing {

namespace {

using asio::awaitable;
using asio::use_awaitable;
using asio::ip::tcp;

constexpr std::size_t EndlessLineBytes = 1024 * 1024; // well past any client's line limit

std::string Verb(const std::string& line) {
    std::string verb = line.substr(0, line.find(' '));
    std::transform(verb.begin(), verb.end(), verb.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return verb;
}

std::string Argument(const std::string& line) {
    const std::size_t space = line.find(' ');
    return space == std::string::npos ? "" : line.substr(space + 1);
}

std::string DefaultReply(const std::string& verb) {
    static const std::map<std::string, std::string> replies = {
        {"USER", "331 Password required for anonymous.\r\n"},
        {"PASS", "230 Login successful.\r\n"},
        {"FEAT", "211-Features:\r\n MDTM\r\n SIZE\r\n211 End\r\n"},
        {"TYPE", "200 Type set to I.\r\n"},
        {"SYST", "215 UNIX Type: L8\r\n"},
        {"CWD", "250 Directory changed.\r\n"},
        {"QUIT", "221 Goodbye.\r\n"},
    };
    const auto found = replies.find(verb);
    return found != replies.end() ? found->second : "502 Command not implemented.\r\n";
}

// "h1,h2,h3,h4,p1,p2" of a PORT command, as an endpoint.
std::optional<tcp::endpoint> PortTarget(const std::string& argument) {
    std::vector<int> numbers;
    std::size_t start = 0;
    while (start <= argument.size() && numbers.size() < 6) {
        const std::size_t comma = std::min(argument.find(',', start), argument.size());
        numbers.push_back(std::atoi(argument.substr(start, comma - start).c_str()));
        start = comma + 1;
    }
    if (numbers.size() != 6) {
        return std::nullopt;
    }
    const std::string host = std::to_string(numbers[0]) + "." + std::to_string(numbers[1]) + "." +
                             std::to_string(numbers[2]) + "." + std::to_string(numbers[3]);
    return tcp::endpoint(asio::ip::make_address_v4(host),
                         static_cast<uint16_t>(numbers[4] * 256 + numbers[5]));
}

} // namespace

uint16_t UnusedLoopbackPort() {
    asio::io_context io;
    const tcp::acceptor probe(io, tcp::endpoint(asio::ip::make_address_v4("127.0.0.1"), 0));
    return probe.local_endpoint().port();
}

struct ScriptedFtpServer::Impl {
    Script script;
    asio::io_context io;
    tcp::acceptor acceptor{io, tcp::endpoint(asio::ip::make_address_v4("127.0.0.1"), 0)};
    uint16_t port = acceptor.local_endpoint().port(); // read before the server thread starts
    std::thread thread;

    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    std::vector<std::string> commands;
    int sessionsEnded = 0;

    // One control connection's data-connection state.
    struct Session {
        tcp::socket control;
        std::string pending;
        std::optional<tcp::acceptor> passive;
        std::optional<tcp::endpoint> active;
    };

    awaitable<void> AcceptLoop() {
        for (;;) {
            tcp::socket socket = co_await acceptor.async_accept(use_awaitable);
            // Replies go out as they are written, not held back for the client's ACK.
            socket.set_option(tcp::no_delay(true));
            Session session{std::move(socket), {}, {}, {}};
            try {
                co_await Serve(session);
            } catch (const std::system_error&) {
                // The client went away; the next one may come.
            }
            const std::lock_guard lock(mutex);
            ++sessionsEnded;
            changed.notify_all();
        }
    }

    awaitable<void> Send(tcp::socket& socket, const std::string& text) {
        co_await asio::async_write(socket, asio::buffer(text), use_awaitable);
    }

    awaitable<std::string> ReadLine(Session& session) {
        const std::size_t end = co_await asio::async_read_until(
            session.control, asio::dynamic_buffer(session.pending), "\r\n", use_awaitable);
        std::string line = session.pending.substr(0, end - 2);
        session.pending.erase(0, end);
        co_return line;
    }

    void Record(const std::string& line) {
        const std::lock_guard lock(mutex);
        commands.push_back(line);
        changed.notify_all();
    }

    awaitable<void> Serve(Session& session) {
        co_await Send(session.control, script.Greeting);
        while (!script.HangUpAfterGreeting) {
            const std::string line = co_await ReadLine(session);
            Record(line);
            const std::string verb = Verb(line);
            if (verb == script.SilentAfter) {
                co_await DrainUntilClosed(session);
                co_return;
            }
            if (verb == script.HangUpOn) {
                co_await Send(session.control, "250-The reply begins\r\n");
                co_return;
            }
            if (verb == script.EndlessLineOn) {
                co_await SendEndlessLine(session);
                co_return;
            }
            if (const auto reply = script.Replies.find(verb); reply != script.Replies.end()) {
                co_await Send(session.control, reply->second);
            } else {
                co_await Answer(session, verb, Argument(line));
            }
            if (verb == "QUIT") {
                co_return;
            }
        }
    }

    awaitable<void> Answer(Session& session, const std::string& verb, const std::string& arg) {
        if (verb == "PASV") {
            co_await Send(session.control, OpenPassive(session));
        } else if (verb == "PORT") {
            session.active = PortTarget(arg);
            co_await Send(session.control, session.active ? "200 PORT command successful.\r\n"
                                                          : "501 Bad PORT argument.\r\n");
        } else if (verb == "RETR") {
            co_await Transfer(session, arg);
        } else {
            co_await Send(session.control, DefaultReply(verb));
        }
    }

    std::string OpenPassive(Session& session) {
        session.passive.emplace(io, tcp::endpoint(asio::ip::make_address_v4("127.0.0.1"), 0));
        const uint16_t port = session.passive->local_endpoint().port();
        const std::string numbers = script.PassiveHost + "," + std::to_string(port / 256) + "," +
                                    std::to_string(port % 256);
        return script.PassiveParentheses ? "227 Entering Passive Mode (" + numbers + ").\r\n"
                                         : "227 Entering Passive Mode " + numbers + "\r\n";
    }

    awaitable<void> Transfer(Session& session, const std::string& name) {
        std::optional<std::string> contents;
        {
            const std::lock_guard lock(mutex);
            if (const auto file = script.Files.find(name); file != script.Files.end()) {
                contents = file->second;
            }
        }
        if (!contents) {
            session.passive.reset();
            co_await Send(session.control, "550 " + name + ": No such file or directory.\r\n");
            co_return;
        }
        co_await Send(session.control, "150 Opening BINARY mode data connection.\r\n");
        tcp::socket data(io);
        if (session.passive) {
            data = co_await session.passive->async_accept(use_awaitable);
            session.passive.reset();
        } else if (session.active) {
            if (!script.ForgedData.empty()) {
                co_await Forge(*session.active);
            }
            co_await data.async_connect(*session.active, use_awaitable);
        }
        co_await Send(data, *contents);
        data.shutdown(tcp::socket::shutdown_send);
        data.close();
        co_await Send(session.control, "226 Transfer complete.\r\n");
    }

    // A third host on the loopback network gets to the client's data port first.
    // The client may turn it away before it has sent anything: that ends only the forger.
    awaitable<void> Forge(const tcp::endpoint& target) {
        tcp::socket forger(io, tcp::endpoint(asio::ip::make_address_v4("127.0.0.2"), 0));
        std::error_code ec;
        co_await forger.async_connect(target, asio::redirect_error(use_awaitable, ec));
        if (!ec) {
            co_await asio::async_write(forger, asio::buffer(script.ForgedData),
                                       asio::redirect_error(use_awaitable, ec));
        }
    }

    // Never answers again, but still records what the client sends until it hangs up.
    awaitable<void> DrainUntilClosed(Session& session) {
        for (;;) {
            Record(co_await ReadLine(session));
        }
    }

    awaitable<void> SendEndlessLine(Session& session) {
        co_await Send(session.control, "211-");
        const std::string chunk(4096, 'x');
        for (std::size_t sent = 0; sent < EndlessLineBytes; sent += chunk.size()) {
            co_await Send(session.control, chunk);
        }
        // Whether the client's QUIT arrives before it hangs up depends on timing here; not
        // recorded, so the commands seen stay the same from run to run.
        std::array<char, 512> drop{};
        for (;;) {
            co_await session.control.async_read_some(asio::buffer(drop), use_awaitable);
        }
    }

    template <typename Predicate> bool WaitFor(Predicate done) const {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), done);
    }
};

ScriptedFtpServer::ScriptedFtpServer(Script script) : impl_(std::make_unique<Impl>()) {
    impl_->script = std::move(script);
    asio::co_spawn(impl_->io, impl_->AcceptLoop(), asio::detached);
    impl_->thread = std::thread([impl = impl_.get()] { impl->io.run(); });
}

ScriptedFtpServer::~ScriptedFtpServer() {
    impl_->io.stop();
    impl_->thread.join();
}

uint16_t ScriptedFtpServer::Port() const {
    return impl_->port;
}

void ScriptedFtpServer::SetFile(const std::string& name, const std::string& contents) {
    const std::lock_guard lock(impl_->mutex);
    impl_->script.Files[name] = contents;
}

std::vector<std::string> ScriptedFtpServer::Commands() const {
    const std::lock_guard lock(impl_->mutex);
    return impl_->commands;
}

int ScriptedFtpServer::SessionsEnded() const {
    const std::lock_guard lock(impl_->mutex);
    return impl_->sessionsEnded;
}

bool ScriptedFtpServer::WaitForCommands(std::size_t count) const {
    return impl_->WaitFor([&] { return impl_->commands.size() >= count; });
}

bool ScriptedFtpServer::WaitForSessionsEnded(int count) const {
    return impl_->WaitFor([&] { return impl_->sessionsEnded >= count; });
}

} // namespace nimbrel::testing
