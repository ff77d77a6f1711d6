#include "retrieval/HttpsClient.h"

#include "base/TextTime.h"
#include "retrieval/GetWeatherThread.h"
#include "retrieval/HttpsModule.h"

#include <array>
#include <curl/curl.h>
#include <mutex>
#include <string_view>

namespace nimbrel {

namespace {

// Curl's own bounds stand in for the watchdog wherever it does not run (a caller without one).
constexpr long ConnectTimeoutSeconds = 30;
constexpr long LowSpeedTimeSeconds = 30;
// Enough for any status line a server means seriously; the rest is cut off.
constexpr std::size_t MaxStatusLineBytes = 256;

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

// HTTP/2 answers carry no reason text; these are the ones a file server is likely to give.
struct Reason {
    long Code;
    const char* Text;
};
constexpr Reason StandardReasons[] = {
    {400, "Bad Request"},
    {401, "Unauthorized"},
    {403, "Forbidden"},
    {404, "Not Found"},
    {410, "Gone"},
    {429, "Too Many Requests"},
    {500, "Internal Server Error"},
    {502, "Bad Gateway"},
    {503, "Service Unavailable"},
    {504, "Gateway Timeout"},
};

std::string StandardReason(long code) {
    for (const Reason& reason : StandardReasons) {
        if (reason.Code == code) {
            return reason.Text;
        }
    }
    return "";
}

// "HTTP/1.1 404 Not Found" -> "404 Not Found"; "HTTP/2 404" -> "404 Not Found" as well.
std::string StatusOf(const std::string& statusLine, long code) {
    const std::size_t space = statusLine.find(' ');
    std::string status = space == std::string::npos
                             ? std::string()
                             : std::string(TrimBlanks(statusLine.substr(space + 1)));
    if (status.size() > 4) {
        return status;
    }
    const std::string reason = StandardReason(code);
    return std::to_string(code) + (reason.empty() ? "" : " " + reason);
}

} // namespace

std::string StationFileUrl(const std::string& host, uint16_t port, const std::string& code) {
    const std::string authority = port == 443 ? host : host + ":" + std::to_string(port);
    return "https://" + authority + "/" + WeatherDirectory + "/" + StationFileName(code);
}

// The curl handles of one session and what its callbacks fill in. The mutex guards the
// handles' existence against Abort on another thread; transfers run without it.
struct HttpsClient::Handles {
    std::mutex mutex;
    std::unique_ptr<CURLM, MultiDeleter> multi;
    std::unique_ptr<CURL, EasyDeleter> easy;
    std::array<char, CURL_ERROR_SIZE> error{};
    std::string* body = nullptr;
    bool tooLarge = false;
    std::string statusLine;
    bool success = false; // the answer being received is a 200

    static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
        auto& self = *static_cast<Handles*>(user);
        const std::size_t bytes = size * count;
        if (!self.success) {
            return bytes; // an error page is not the station's file: only its status counts
        }
        if (self.body->size() + bytes > MaxFileBytes) {
            self.tooLarge = true;
            return 0; // ends the transfer with CURLE_WRITE_ERROR
        }
        self.body->append(data, bytes);
        return bytes;
    }

    // The last status line wins: after a redirect it is the final answer's.
    static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
        auto& self = *static_cast<Handles*>(user);
        const std::size_t bytes = size * count;
        const std::string_view line(data, std::min(bytes, MaxStatusLineBytes));
        if (line.starts_with("HTTP/")) {
            self.statusLine = std::string(TrimBlanks(line));
            const std::size_t space = self.statusLine.find(' ');
            self.success =
                space != std::string::npos && self.statusLine.compare(space + 1, 3, "200") == 0;
        }
        return bytes;
    }
};

HttpsClient::HttpsClient() : handles_(std::make_unique<Handles>()) {
    // Thread-safe and counted in the libcurl this builds against (7.84 and later).
    curl_global_init(CURL_GLOBAL_DEFAULT);
}

HttpsClient::~HttpsClient() {
    Disconnect();
    curl_global_cleanup();
}

void HttpsClient::Abort(std::chrono::milliseconds) {
    aborted_ = true;
    // Wakes a transfer waiting in curl_multi_poll, which then sees the flag; a transfer about
    // to wait is woken by its next poll. Nothing here waits for the network.
    const std::lock_guard lock(handles_->mutex);
    if (handles_->multi) {
        curl_multi_wakeup(handles_->multi.get());
    }
}

void HttpsClient::Connect() {
    if (aborted_) {
        throw EHttpsError("Connection aborted.");
    }
    Handles& h = *handles_;
    {
        const std::lock_guard lock(h.mutex);
        h.multi.reset(curl_multi_init());
        h.easy.reset(curl_easy_init());
    }
    if (!h.multi || !h.easy) {
        throw EHttpsError("The HTTPS library could not be set up.");
    }
    CURL* easy = h.easy.get();
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, MaxHttpsRedirects);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!CaFile.empty()) {
        curl_easy_setopt(easy, CURLOPT_CAINFO, CaFile.c_str());
    }
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, ConnectTimeoutSeconds);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, LowSpeedTimeSeconds);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, "nimbrel/" NIMBREL_VERSION);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, h.error.data());
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Handles::OnBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &h);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Handles::OnHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &h);
}

void HttpsClient::Retrieve(const std::string& code, std::string& buffer) {
    buffer.clear();
    Handles& h = *handles_;
    if (!h.easy) {
        throw EHttpsError("Not connected.");
    }
    const std::string fileName = StationFileName(code);
    curl_easy_setopt(h.easy.get(), CURLOPT_URL, StationFileUrl(Host, Port, code).c_str());
    h.body = &buffer;
    h.tooLarge = false;
    h.statusLine.clear();
    h.success = false;
    h.error[0] = '\0';
    try {
        Perform();
    } catch (...) {
        h.body = nullptr;
        buffer.clear();
        if (h.tooLarge) {
            throw EHttpsError(FileTooLargeMessage(fileName));
        }
        throw;
    }
    h.body = nullptr;
    long status = 0;
    curl_easy_getinfo(h.easy.get(), CURLINFO_RESPONSE_CODE, &status);
    if (status != 200) {
        buffer.clear();
        throw EHttpsError("The weather server answered \"" + StatusOf(h.statusLine, status) +
                          "\" for " + fileName + ".");
    }
}

// One transfer through the multi interface, so that Abort can wake it wherever it waits.
void HttpsClient::Perform() {
    Handles& h = *handles_;
    CURLM* multi = h.multi.get();
    curl_multi_add_handle(multi, h.easy.get());
    int running = 1;
    CURLcode result = CURLE_OK;
    while (running > 0 && !aborted_) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        if (running > 0 && !aborted_) {
            curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
        }
    }
    int queued = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi, &queued)) {
        if (message->msg == CURLMSG_DONE) {
            result = message->data.result;
        }
    }
    curl_multi_remove_handle(multi, h.easy.get());
    if (aborted_) {
        throw EHttpsError("Connection aborted.");
    }
    if (result != CURLE_OK) {
        ThrowTransferError(result);
    }
}

void HttpsClient::ThrowTransferError(int result) const {
    const auto code = static_cast<CURLcode>(result);
    std::string text = handles_->error.data();
    if (text.empty()) {
        text = curl_easy_strerror(code);
    }
    long status = 0;
    curl_easy_getinfo(handles_->easy.get(), CURLINFO_RESPONSE_CODE, &status);
    if (code == CURLE_UNSUPPORTED_PROTOCOL && status / 100 == 3) {
        // Curl names the refused scheme; where it was sent is the more useful part.
        char* target = nullptr;
        curl_easy_getinfo(handles_->easy.get(), CURLINFO_EFFECTIVE_URL, &target);
        text = "Redirect to " + std::string(target != nullptr ? target : "another address") +
               " refused: only https is followed";
    }
    if (!text.empty() && text.back() != '.') {
        text += '.';
    }
    throw EHttpsError("HTTPS error: " + text);
}

void HttpsClient::Disconnect() {
    Handles& h = *handles_;
    const std::lock_guard lock(h.mutex);
    // The easy handle goes first: the multi handle holds the connection it kept alive.
    h.easy.reset();
    h.multi.reset();
}

} // namespace nimbrel

// The module's entry point, the one symbol it exports (see HttpsModule.h).
#ifdef _WIN32
#define NIMBREL_MODULE_EXPORT __declspec(dllexport)
#else
#define NIMBREL_MODULE_EXPORT __attribute__((visibility("default")))
#endif
extern "C" NIMBREL_MODULE_EXPORT bool
NimbrelMakeHttpsSource(const char* version, const nimbrel::HttpsEndpoint& endpoint,
                       std::unique_ptr<nimbrel::StationSource>& source) {
    if (std::string_view(version) != NIMBREL_VERSION) {
        return false;
    }
    auto client = std::make_unique<nimbrel::HttpsClient>();
    client->Host = endpoint.Host;
    client->Port = endpoint.Port;
    client->CaFile = endpoint.CaFile;
    source = std::move(client);
    return true;
}
