#include "settings/IniFile.h"

#include "settings/ProgramPath.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace nimbrel {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view Blanks = " \t";
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(Blanks);
    return text.substr(first, last - first + 1);
}

bool IsComment(std::string_view trimmed) {
    return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

// The name of the section a header line opens; nullopt for every other line.
std::optional<std::string_view> SectionHeader(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() != '[') {
        return std::nullopt;
    }
    const auto close = trimmed.find(']');
    return Trim(trimmed.substr(1, close == std::string_view::npos ? close : close - 1));
}

struct KeyValue {
    std::string_view Key, Value;
};

std::optional<KeyValue> ParseKeyValue(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    const auto equals = trimmed.find('=');
    if (IsComment(trimmed) || equals == std::string_view::npos) {
        return std::nullopt;
    }
    return KeyValue{Trim(trimmed.substr(0, equals)), Trim(trimmed.substr(equals + 1))};
}

std::string SingleLine(std::string_view value) {
    std::string line(value);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return line;
}

std::string ReadWholeFile(const fs::path& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (error) {
        throw IniFileError("Unable to read " + PathToNarrow(fs::absolute(path, error)));
    }
    if (size > TIniFile::MaxFileSize) {
        throw IniFileError(PathToNarrow(fs::absolute(path, error)) + " is larger than " +
                           std::to_string(TIniFile::MaxFileSize / (1024 * 1024)) +
                           " MiB and was not read");
    }
    std::ifstream in(path, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (!in && !in.eof()) {
        throw IniFileError("Unable to read " + PathToNarrow(fs::absolute(path, error)));
    }
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Writes and flushes the whole text to disk; false on any failure.
bool WriteDurably(const fs::path& path, const std::string& text) {
#ifdef _WIN32
    std::unique_ptr<std::FILE, FileCloser> file(_wfopen(path.c_str(), L"wb"));
#else
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
#endif
    if (!file) {
        return false;
    }
    bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size() &&
                   std::fflush(file.get()) == 0;
#ifndef _WIN32
    written = written && fsync(fileno(file.get())) == 0;
#endif
    return std::fclose(file.release()) == 0 && written;
}

// The file a save replaces: a link is followed so that the link itself survives.
fs::path WritableTarget(const std::string& path) {
    std::error_code error;
    const fs::path target = fs::absolute(NarrowToPath(path), error);
    if (!error && fs::is_symlink(target, error)) {
        const fs::path linked = fs::weakly_canonical(target, error);
        return error ? target : linked;
    }
    return target;
}

} // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    // Not std::tolower: under the user's locale it would also fold some non-ASCII bytes.
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&fold](char x, char y) { return fold(x) == fold(y); });
}

TIniFile::TIniFile(std::string_view text) {
    if (text.starts_with(ByteOrderMark)) {
        byteOrderMark_ = true;
        text.remove_prefix(ByteOrderMark.size());
    }
    const auto firstBreak = text.find('\n');
    if (firstBreak != std::string_view::npos) {
        lineEnd_ = firstBreak > 0 && text[firstBreak - 1] == '\r' ? "\r\n" : "\n";
    }
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        lines_.emplace_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
}

TIniFile TIniFile::Load(const std::string& path) {
    std::error_code error;
    const fs::path file = NarrowToPath(path);
    const bool exists = fs::exists(file, error);
    if (error) {
        // Not "missing": a save after reading it as empty would replace what the user has.
        throw IniFileError("Unable to read " + PathToNarrow(fs::absolute(file, error)));
    }
    return exists ? TIniFile(ReadWholeFile(file)) : TIniFile();
}

std::string TIniFile::DefaultLineEnd() {
#ifdef _WIN32
    return "\r\n";
#else
    return "\n";
#endif
}

TIniFile::SectionRange TIniFile::FindSection(std::string_view section) const {
    for (std::size_t header = 0; header < lines_.size(); ++header) {
        const auto name = SectionHeader(lines_[header]);
        if (!name || !EqualsIgnoringCase(*name, section)) {
            continue;
        }
        std::size_t end = header + 1;
        while (end < lines_.size() && !SectionHeader(lines_[end])) {
            ++end;
        }
        return {header, end};
    }
    return {lines_.size(), lines_.size()};
}

std::optional<std::size_t> TIniFile::FindKey(const SectionRange& range,
                                             std::string_view key) const {
    for (std::size_t line = range.Header + 1; line < range.End; ++line) {
        const auto entry = ParseKeyValue(lines_[line]);
        if (entry && EqualsIgnoringCase(entry->Key, key)) {
            return line;
        }
    }
    return std::nullopt;
}

std::optional<std::string> TIniFile::ReadString(std::string_view section,
                                                std::string_view key) const {
    const SectionRange range = FindSection(section);
    if (range.Header == lines_.size()) {
        return std::nullopt;
    }
    const auto line = FindKey(range, key);
    if (!line) {
        return std::nullopt;
    }
    return std::string(ParseKeyValue(lines_[*line])->Value);
}

std::vector<std::pair<std::string, std::string>>
TIniFile::ReadSection(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> entries;
    const SectionRange range = FindSection(section);
    for (std::size_t line = range.Header + 1; line < range.End; ++line) {
        if (const auto entry = ParseKeyValue(lines_[line])) {
            entries.emplace_back(entry->Key, entry->Value);
        }
    }
    return entries;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::string line = std::string(key) + "=" + SingleLine(value);
    const SectionRange range = FindSection(section);
    if (range.Header == lines_.size()) {
        if (!lines_.empty() && !Trim(lines_.back()).empty()) {
            lines_.emplace_back();
        }
        std::string header = "[";
        header.append(section).append("]");
        lines_.push_back(std::move(header));
        lines_.push_back(std::move(line));
        return;
    }
    if (const auto existing = FindKey(range, key)) {
        lines_[*existing] = std::move(line);
        return;
    }
    // After the section's last non-blank line, so the blank line before the next section stays.
    std::size_t insertAt = range.End;
    while (insertAt > range.Header + 1 && Trim(lines_[insertAt - 1]).empty()) {
        --insertAt;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
}

std::string TIniFile::Text() const {
    std::string text = byteOrderMark_ ? std::string(ByteOrderMark) : std::string();
    for (const std::string& line : lines_) {
        text += line;
        text += lineEnd_;
    }
    return text;
}

void TIniFile::Save(const std::string& path) const {
    const fs::path target = WritableTarget(path);
    std::error_code error;
    if (target.has_parent_path()) {
        fs::create_directories(target.parent_path(), error);
    }
    fs::path temporary = target;
    temporary += ".tmp";
    if (!error && WriteDurably(temporary, Text())) {
        fs::rename(temporary, target, error);
        if (!error) {
            return;
        }
    }
    fs::remove(temporary, error);
    throw IniFileError("Unable to write to " +
                       PathToNarrow(fs::absolute(NarrowToPath(path), error)));
}

} // namespace nimbrel
