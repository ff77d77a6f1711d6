#include "history/HistoryRun.h"

#include <charconv>
#include <stdexcept>

namespace nimbrel {

namespace {

[[noreturn]] void Refuse(const char* why) {
    throw std::invalid_argument(std::string("not a run of station files: ") + why);
}

bool IsCodeCharacter(char c) {
    return c > ' ' && c != 0x7f;
}

} // namespace

std::string HistoryRunText(const std::vector<FetchedStationFile>& files) {
    std::string text;
    for (const FetchedStationFile& file : files)
        if (!file.Code.empty()) // a slot without a station: nothing to keep
            text += file.Code + " " + std::to_string(file.Text.size()) + "\n" + file.Text;
    return text;
}

std::vector<FetchedStationFile> ParseHistoryRun(std::string_view text) {
    std::vector<FetchedStationFile> files;
    while (!text.empty()) {
        if (files.size() == MaxHistoryRunFiles)
            Refuse("too many files");
        const std::size_t space = text.find(' ');
        const std::size_t end = text.find('\n');
        if (space == std::string_view::npos || end == std::string_view::npos || space > end)
            Refuse("a file without its code and length");
        const std::string_view code = text.substr(0, space);
        if (code.empty())
            Refuse("a file without a code");
        for (const char c : code)
            if (!IsCodeCharacter(c))
                Refuse("a code with blanks or control characters");
        std::size_t length = 0;
        const char* first = text.data() + space + 1;
        const char* last = text.data() + end;
        const auto [stop, error] = std::from_chars(first, last, length);
        if (error != std::errc() || stop != last || first == last)
            Refuse("a length that is not a number");
        if (length > MaxHistoryRunFileBytes)
            Refuse("a file longer than a fetch accepts");
        text.remove_prefix(end + 1);
        if (length > text.size())
            Refuse("a file cut short");
        files.push_back({std::string(code), std::string(text.substr(0, length))});
        text.remove_prefix(length);
    }
    return files;
}

} // namespace nimbrel
