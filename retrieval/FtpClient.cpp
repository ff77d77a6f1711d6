#include "retrieval/FtpClient.h"

#include "base/TextTime.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <future>
#include <memory>

namespace nimbrel {

namespace {

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}
std::string TrimLeadingBlanks(const std::string& text) {
    return std::string(std::find_if_not(text.begin(), text.end(), IsBlank), text.end());
}

std::string FromFifth(const std::string& line) {
    return line.size() > 4 ? line.substr(4) : "";
}

bool StartsWithCode(const std::string& line) {
    return line.size() >= 3 && std::all_of(line.begin(), line.begin() + 3, IsDigit);
}

// "123" alone, or "123 text": the last line of a reply. "123-text" and free text continue it.
bool EndsReply(const std::string& line) {
    if (!line.empty() && line.size() <= 3) {
        return std::all_of(line.begin(), line.end(), IsDigit);
    }
    return StartsWithCode(line) && line.size() > 3 && line[3] == ' ';
}

// The system's description as a sentence: "connection refused" -> "Connection refused.".
std::string Sentence(std::string text) {
    if (!text.empty()) {
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    }
    if (text.empty() || text.back() != '.') {
        text += '.';
    }
    return text;
}

[[noreturn]] void ThrowSocketError(const std::error_code& ec) {
    if (ec == asio::error::eof) {
        throw EFtpError("Connection Closed Gracefully.");
    }
    const bool unknownHost =
        ec == asio::error::host_not_found || ec == asio::error::host_not_found_try_again;
    throw EFtpError("Socket Error # " + std::to_string(ec.value()) + "\r\n" +
                    (unknownHost ? std::string("Host not found.") : Sentence(ec.message())));
}

void Expect(const FtpReply& reply, std::initializer_list<int> accepted) {
    if (accepted.size() != 0 &&
        std::find(accepted.begin(), accepted.end(), reply.Code) == accepted.end()) {
        throw EFtpError(reply.Text());
    }
}

// One number of a 227 reply: decimal digits, blanks around them allowed, 0..255.
std::optional<unsigned> ParseByte(const std::string& field) {
    const std::string digits(TrimBlanks(field));
    if (digits.empty() || digits.size() > 3 ||
        !std::all_of(digits.begin(), digits.end(), IsDigit)) {
        return std::nullopt;
    }
    const auto value = static_cast<unsigned>(std::stoi(digits));
    return value <= 255 ? std::optional<unsigned>(value) : std::nullopt;
}

std::vector<std::string> SplitAtCommas(const std::string& text) {
    std::vector<std::string> fields(1);
    for (const char c : text) {
        if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// Completion handler of the operations FtpClient waits for; records the outcome.
struct Completion {
    std::error_code& ec;
    std::size_t& bytes;
    bool& done;

    void operator()(const std::error_code& e) const {
        ec = e;
        done = true;
    }
    void operator()(const std::error_code& e, std::size_t n) const {
        ec = e;
        bytes = n;
        done = true;
    }
};

} // namespace

std::string FtpReply::Text() const {
    std::string text;
    for (const std::string& line : Lines) {
        text += line + "\r\n";
    }
    return text;
}

std::optional<std::string> TakeReplyLine(std::string& pending) {
    const std::size_t lf = pending.find('\n');
    if (lf == std::string::npos || lf > MaxReplyLineBytes) {
        if (pending.size() > MaxReplyLineBytes) {
            throw EFtpError("The server sent a reply line longer than 64 KiB.");
        }
        return std::nullopt;
    }
    std::string line = pending.substr(0, lf);
    pending.erase(0, lf + 1);
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

bool FtpReplyReader::Add(const std::string& line) {
    // A reply is only ever logged or dropped: more than a screenful is a server misbehaving.
    bytes_ += line.size();
    if (bytes_ > MaxReplyBytes) {
        throw EFtpError("The server sent a reply longer than 256 KiB.");
    }
    const bool ended = started_ ? Continue(line) : Start(line);
    if (!ended && ++lines_ >= MaxReplyLines) {
        throw EFtpError("The server sent a reply of more than 1000 lines.");
    }
    return ended;
}

// Blank lines before a reply are skipped; the first one with text starts it.
bool FtpReplyReader::Start(const std::string& line) {
    const std::string first(TrimBlanks(line));
    if (first.empty()) {
        return false;
    }
    started_ = true;
    code_ = first.substr(0, 3);
    reply_.Code = StartsWithCode(first) ? std::stoi(code_) : -1;
    reply_.Lines.push_back(FromFifth(first));
    return EndsReply(first);
}

bool FtpReplyReader::Continue(const std::string& line) {
    reply_.Lines.push_back(line.compare(0, 3, code_) == 0 && StartsWithCode(line)
                               ? FromFifth(line)
                               : TrimLeadingBlanks(line));
    return EndsReply(line);
}

std::optional<PassiveTarget> ParsePassiveReply(const std::string& firstLine) {
    const std::size_t open = firstLine.find('(');
    const std::size_t close = firstLine.find(')');
    std::string numbers;
    if (open != std::string::npos && close != std::string::npos && open < close) {
        numbers = firstLine.substr(open + 1, close - open - 1);
    } else {
        const std::size_t space = firstLine.rfind(' ');
        numbers = space == std::string::npos ? firstLine : firstLine.substr(space + 1);
    }
    const std::vector<std::string> fields = SplitAtCommas(numbers);
    if (fields.size() < 6) {
        return std::nullopt;
    }
    std::array<unsigned, 6> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::optional<unsigned> value = ParseByte(fields[i]);
        if (!value) {
            return std::nullopt;
        }
        values[i] = *value;
    }
    PassiveTarget target;
    target.Address = std::to_string(values[0]) + "." + std::to_string(values[1]) + "." +
                     std::to_string(values[2]) + "." + std::to_string(values[3]);
    target.Port = static_cast<uint16_t>(values[4] * 256 + values[5]);
    return target;
}

std::string PortArgument(const asio::ip::address_v4& address, uint16_t port) {
    std::string argument = address.to_string();
    std::replace(argument.begin(), argument.end(), '.', ',');
    return argument + "," + std::to_string(port / 256) + "," + std::to_string(port % 256);
}

FtpClient::FtpClient()
    : work_(asio::make_work_guard(io_)), control_(io_), data_(io_), listener_(io_) {}

FtpClient::~FtpClient() {
    CloseAll();
}

void FtpClient::Abort(std::chrono::milliseconds grace) {
    if (aborted_.exchange(true) || !controlOpen_) {
        asio::post(io_, [this] { CloseAll(); });
        return;
    }
    // The sockets belong to the thread running the client; closing them there is what makes a
    // pending operation complete with an error.
    auto closed = std::make_shared<std::promise<void>>();
    std::future<void> done = closed->get_future();
    asio::post(io_, [this, closed] {
        QuitAndCloseAll();
        closed->set_value();
    });
    // A thread waiting in the network runs the close at once; one busy elsewhere is not waited
    // for beyond the grace.
    done.wait_for(grace);
}

// A stopped run still takes its leave of the server, but never waits for it: the QUIT goes out
// only if the socket can take it at once, and no reply is read.
void FtpClient::QuitAndCloseAll() {
    if (control_.is_open() && !quitSent_) {
        quitSent_ = true;
        static constexpr char quit[] = "QUIT\r\n";
        std::error_code ignored;
        control_.non_blocking(true, ignored);
        control_.write_some(asio::buffer(quit, sizeof quit - 1), ignored);
    }
    CloseAll();
    pending_.clear();
}

void FtpClient::ThrowIfAborted() const {
    if (aborted_) {
        throw EFtpError("Connection aborted.");
    }
}

void FtpClient::RunUntil(const bool& done) {
    while (!done) {
        io_.run_one();
    }
}

template <typename Initiate>
std::pair<std::error_code, std::size_t> FtpClient::Await(Initiate initiate) {
    ThrowIfAborted();
    std::error_code ec;
    std::size_t bytes = 0;
    bool done = false;
    initiate(Completion{ec, bytes, done});
    RunUntil(done);
    return {ec, bytes};
}

void FtpClient::CloseAll() {
    controlOpen_ = false;
    std::error_code ignored;
    listener_.close(ignored);
    data_.close(ignored);
    control_.close(ignored);
}

bool FtpClient::Connected() const {
    return control_.is_open();
}

void FtpClient::Connect() {
    try {
        ThrowIfAborted();
        pending_.clear();
        quitSent_ = false;
        asio::ip::tcp::resolver resolver(io_);
        std::error_code ec;
        const auto endpoints =
            resolver.resolve(asio::ip::tcp::v4(), Host, std::to_string(Port), ec);
        if (ec) {
            ThrowSocketError(ec);
        }
        controlOpen_ = true;
        const auto [connectError, unused] = Await([&](Completion done) {
            asio::async_connect(control_, endpoints,
                                [done](const std::error_code& e, const auto&) { done(e); });
        });
        if (connectError) {
            ThrowSocketError(connectError);
        }
        Login();
    } catch (...) {
        Disconnect();
        throw;
    }
}

void FtpClient::Login() {
    greeting_ = ReadReply();
    Expect(greeting_, {220});
    if (Command("USER " + Username, {230, 232, 331}).Code == 331) {
        // A 332 asks for an account, and we have none to give: the server's text explains.
        Command("PASS " + Password, {230});
    }
    const FtpReply features = Command("FEAT", {});
    features_.clear();
    if (features.Lines.size() > 2) {
        features_.assign(features.Lines.begin() + 1, features.Lines.end() - 1);
    }
    Command("TYPE I", {200});
    const FtpReply system = Command("SYST", {});
    systemDescription_ = system.Code == 500 || system.Lines.empty() ? "Unknown" : system.Lines[0];
}

void FtpClient::ChangeDirectory(const std::string& path) {
    Command("CWD " + path, {200, 250});
}

void FtpClient::Retrieve(const std::string& fileName, std::string& buffer) {
    buffer.clear();
    try {
        if (Passive) {
            RetrievePassive(fileName, buffer);
        } else {
            RetrieveActive(fileName, buffer);
        }
    } catch (...) {
        std::error_code ignored;
        data_.close(ignored);
        listener_.close(ignored);
        throw;
    }
}

void FtpClient::RetrievePassive(const std::string& fileName, std::string& buffer) {
    const FtpReply reply = Command("PASV", {227});
    const std::optional<PassiveTarget> target =
        ParsePassiveReply(reply.Lines.empty() ? "" : reply.Lines.front());
    if (!target) {
        throw EFtpError("Unrecognised reply to PASV:\r\n" + reply.Text());
    }
    // Only the port is taken from the reply: the data connection goes to the host we are
    // talking to, so a server cannot send us to a third host.
    const asio::ip::tcp::endpoint endpoint(control_.remote_endpoint().address(), target->Port);
    const auto [ec, unused] = Await([&](Completion done) { data_.async_connect(endpoint, done); });
    if (ec) {
        ThrowSocketError(ec);
    }
    SendRetr(fileName);
    ReadFile(fileName, buffer);
    Expect(ReadReply(), {226, 225, 250});
}

void FtpClient::RetrieveActive(const std::string& fileName, std::string& buffer) {
    const asio::ip::address local = control_.local_endpoint().address();
    std::error_code ec;
    listener_.open(asio::ip::tcp::v4(), ec);
    if (!ec) {
        listener_.bind(asio::ip::tcp::endpoint(local, 0), ec);
    }
    if (!ec) {
        listener_.listen(1, ec);
    }
    if (ec) {
        ThrowSocketError(ec);
    }
    Command("PORT " + PortArgument(local.to_v4(), listener_.local_endpoint().port()), {200});
    SendRetr(fileName);
    AcceptFromServer();
    listener_.close(ec);
    ReadFile(fileName, buffer);
    Expect(ReadReply(), {226, 225, 250});
}

// Anyone who can reach the listening port could otherwise hand us a report of their making: only
// the host we are talking to may connect. Others are turned away and the wait goes on.
void FtpClient::AcceptFromServer() {
    std::error_code ec;
    const asio::ip::address server = control_.remote_endpoint(ec).address();
    if (ec) {
        ThrowSocketError(ec);
    }
    for (;;) {
        const auto [acceptError, unused] =
            Await([&](Completion done) { listener_.async_accept(data_, done); });
        if (acceptError) {
            ThrowSocketError(acceptError);
        }
        const asio::ip::tcp::endpoint peer = data_.remote_endpoint(ec);
        if (!ec && peer.address() == server) {
            return;
        }
        data_.close(ec);
    }
}

void FtpClient::SendRetr(const std::string& fileName) {
    Command("RETR " + fileName, {125, 150, 154});
}

void FtpClient::ReadFile(const std::string& fileName, std::string& buffer) {
    std::array<char, 16 * 1024> chunk{};
    for (;;) {
        const auto [ec, bytes] =
            Await([&](Completion done) { data_.async_read_some(asio::buffer(chunk), done); });
        buffer.append(chunk.data(), bytes);
        if (buffer.size() > MaxFileBytes) {
            throw EFtpError(FileTooLargeMessage(fileName));
        }
        if (ec == asio::error::eof) {
            break;
        }
        if (ec) {
            ThrowSocketError(ec);
        }
    }
    std::error_code ignored;
    data_.close(ignored);
}

void FtpClient::Disconnect() {
    if (!control_.is_open()) {
        return;
    }
    if (aborted_) {
        QuitAndCloseAll();
        return;
    }
    try {
        quitSent_ = true;
        SendLine("QUIT");
        ReadQuitReply();
    } catch (const EFtpError&) {
        // The connection is going away anyway; a server that cannot take QUIT changes nothing.
    }
    CloseAll();
    pending_.clear();
}

// The answer to QUIT is never used: it gets 10 ms to arrive so that the server sees an orderly
// close, and whatever has arrived by then is read and dropped.
void FtpClient::ReadQuitReply() {
    asio::steady_timer timer(io_, std::chrono::milliseconds(10));
    bool timerDone = false;
    bool readable = false;
    bool waitDone = false;
    timer.async_wait([&](const std::error_code&) {
        timerDone = true;
        std::error_code ignored;
        control_.cancel(ignored);
    });
    control_.async_wait(asio::socket_base::wait_read, [&](const std::error_code& e) {
        waitDone = true;
        readable = !e;
        timer.cancel();
    });
    RunUntil(timerDone);
    RunUntil(waitDone);
    if (readable) {
        std::array<char, 4096> drop{};
        std::error_code ignored;
        const std::size_t available = std::min(control_.available(ignored), drop.size());
        control_.read_some(asio::buffer(drop.data(), available), ignored);
    }
}

FtpReply FtpClient::Command(const std::string& line, Accepted accepted) {
    SendLine(line);
    FtpReply reply = ReadReply();
    Expect(reply, accepted);
    return reply;
}

void FtpClient::SendLine(const std::string& line) {
    const std::string wire = line + "\r\n";
    const auto [ec, unused] =
        Await([&](Completion done) { asio::async_write(control_, asio::buffer(wire), done); });
    if (ec) {
        ThrowSocketError(ec);
    }
}

std::string FtpClient::ReadLine() {
    for (;;) {
        if (std::optional<std::string> line = TakeReplyLine(pending_)) {
            return std::move(*line);
        }
        std::array<char, 4096> chunk{};
        const auto [ec, bytes] =
            Await([&](Completion done) { control_.async_read_some(asio::buffer(chunk), done); });
        if (ec) {
            ThrowSocketError(ec);
        }
        pending_.append(chunk.data(), bytes);
    }
}

FtpReply FtpClient::ReadReply() {
    FtpReplyReader reader;
    while (!reader.Add(ReadLine())) {
    }
    return reader.Reply();
}

} // namespace nimbrel
