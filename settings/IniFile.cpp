#include "settings/IniFile.h"

#include "base/TextTime.h"
#include "settings/ProgramPath.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <thread>

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <windows.h>
#endif

namespace nimbrel {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

bool IsComment(std::string_view trimmed) {
    return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

// The name of the section a header line opens; nullopt for every other line.
std::optional<std::string_view> SectionHeader(std::string_view line) {
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() != '[') {
        return std::nullopt;
    }
    const auto close = trimmed.find(']');
    return TrimBlanks(trimmed.substr(1, close == std::string_view::npos ? close : close - 1));
}

struct KeyValue {
    std::string_view Key, Value;
};

std::optional<KeyValue> ParseKeyValue(std::string_view line) {
    const std::string_view trimmed = TrimBlanks(line);
    const auto equals = trimmed.find('=');
    if (IsComment(trimmed) || equals == std::string_view::npos) {
        return std::nullopt;
    }
    return KeyValue{TrimBlanks(trimmed.substr(0, equals)), TrimBlanks(trimmed.substr(equals + 1))};
}

std::string SingleLine(std::string_view value) {
    std::string line(value);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return line;
}

struct HeaderLine {
    std::size_t Start, End; // End is the position of the line's "\n"
    std::string_view Name;
};

// The first section header line at or after from. Only lines holding a "[" are looked at, and
// each line once, so a search costs one pass over the text whatever its shape.
std::optional<HeaderLine> NextHeader(std::string_view body, std::size_t from) {
    while (from < body.size()) {
        const std::size_t bracket = body.find('[', from);
        if (bracket == std::string_view::npos) {
            return std::nullopt;
        }
        const std::size_t lineBreakBefore = body.rfind('\n', bracket);
        const std::size_t start =
            lineBreakBefore == std::string_view::npos || lineBreakBefore < from
                ? from
                : lineBreakBefore + 1;
        const std::size_t end = body.find('\n', bracket);
        if (const auto name = SectionHeader(body.substr(start, end - start))) {
            return HeaderLine{start, end, *name};
        }
        from = end + 1;
    }
    return std::nullopt;
}

std::string AbsoluteText(const fs::path& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return PathToNarrow(error ? path : absolute);
}

std::string ReadWholeFile(const fs::path& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (error) {
        throw IniFileError("Unable to read " + AbsoluteText(path));
    }
    if (size > TIniFile::MaxFileSize) {
        throw IniFileError(AbsoluteText(path) + " is larger than " +
                           std::to_string(TIniFile::MaxFileSize / (1024 * 1024)) +
                           " MiB and was not read");
    }
    std::ifstream in(path, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (!in && !in.eof()) {
        throw IniFileError("Unable to read " + AbsoluteText(path));
    }
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

// The file a save replaces: with Follow, a link is followed so that the link itself survives.
fs::path WritableTarget(const std::string& path, SymlinkAtPath symlink) {
    std::error_code error;
    fs::path target = fs::absolute(NarrowToPath(path), error);
    if (error) {
        return NarrowToPath(path);
    }
    if (symlink == SymlinkAtPath::Follow && fs::is_symlink(target, error)) {
        const fs::path linked = fs::weakly_canonical(target, error);
        return error ? target : linked;
    }
    return target;
}

// A temporary file's name: the file's own name, this mark, and six random characters. A name
// with the mark in the file's folder belongs to a save that never finished.
constexpr std::string_view TemporaryMark = ".tmp-";
constexpr std::size_t TemporarySuffixLength = 6;

std::string RandomSuffix() {
    constexpr std::string_view Characters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, Characters.size() - 1);
    std::string suffix;
    for (std::size_t i = 0; i < TemporarySuffixLength; ++i) {
        suffix += Characters[pick(random)];
    }
    return suffix;
}

bool IsLeftOverTemporary(const fs::path& candidate, const fs::path& target) {
    const std::string prefix = target.filename().string() + std::string(TemporaryMark);
    const std::string name = candidate.filename().string();
    return name.size() == prefix.size() + TemporarySuffixLength && name.starts_with(prefix);
}

void RemoveLeftOverTemporaries(const fs::path& target) {
    std::error_code error;
    for (fs::directory_iterator entry(target.parent_path(), error), end; !error && entry != end;
         entry.increment(error)) {
        if (IsLeftOverTemporary(entry->path(), target)) {
            std::error_code ignored;
            fs::remove(entry->path(), ignored);
        }
    }
}

enum class LockAttempt { Taken, Busy, Failed };

// Tries to take the save lock for about three seconds: a save that hangs must not keep another
// program from ending, so after that the save goes on without it.
template <typename Attempt> bool TakeWithinAWhile(const Attempt& attempt) {
    for (int tries = 0; tries < 300; ++tries) {
        const LockAttempt result = attempt();
        if (result != LockAttempt::Busy) {
            return result == LockAttempt::Taken;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

#ifndef _WIN32

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd_; }
    bool Close() { return fd_ < 0 || close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

// Holds off other saves of the same file while one runs: flock on a lock file beside it (the
// file itself is replaced by each save, so it cannot carry the lock). A save that goes on
// without it still replaces the file in one step.
class SaveLock {
public:
    explicit SaveLock(const fs::path& target)
        : fd_(open((target.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC,
                   0600)) {
        held_ = fd_.Get() >= 0 && TakeWithinAWhile([this] {
                    if (flock(fd_.Get(), LOCK_EX | LOCK_NB) == 0) {
                        return LockAttempt::Taken;
                    }
                    return errno == EWOULDBLOCK || errno == EINTR ? LockAttempt::Busy
                                                                  : LockAttempt::Failed;
                });
    }
    bool Held() const { return held_; }

private:
    FileDescriptor fd_; // closing it releases the lock
    bool held_ = false;
};

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The profile functions refuse a read-only file; so do we, also when running as root, where
// the system itself would let the write through.
bool IsReadOnly(const fs::path& target, const struct stat& status) {
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
           access(target.c_str(), W_OK) != 0;
}

// Writes the text to a new file beside target and renames it over target. The new file is
// created exclusively and never through a link, so nothing planted in the folder is written to.
bool WriteReplacing(const fs::path& target, std::string_view text) {
    struct stat old = {};
    const bool replacesFile = lstat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    if (replacesFile && IsReadOnly(target, old)) {
        return false;
    }
    fs::path temporary;
    FileDescriptor file;
    for (int attempt = 0; attempt < 100 && file.Get() < 0; ++attempt) {
        temporary = target;
        temporary += std::string(TemporaryMark) + RandomSuffix();
        file = FileDescriptor(
            open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (file.Get() < 0 && errno != EEXIST) {
            return false;
        }
    }
    if (file.Get() < 0) {
        return false;
    }
    if (replacesFile) {
        // Keeping the owner needs rights we may not have; the mode we can always keep.
        [[maybe_unused]] const int owner = fchown(file.Get(), old.st_uid, old.st_gid);
    }
    const bool written = (!replacesFile || fchmod(file.Get(), old.st_mode & 07777) == 0) &&
                         WriteAll(file.Get(), text) && fsync(file.Get()) == 0;
    if (file.Close() && written && rename(temporary.c_str(), target.c_str()) == 0) {
        const FileDescriptor folder(
            open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.Get() >= 0) {
            fsync(folder.Get()); // the rename itself survives a power cut
        }
        return true;
    }
    unlink(temporary.c_str());
    return false;
}

#else

// The same lock as elsewhere, taken with LockFileEx on the lock file beside the settings file.
// It also keeps a reader in this program from holding the file open while a save renames over it,
// which Windows refuses.
class SaveLock {
public:
    explicit SaveLock(const fs::path& target) {
        fs::path lockPath = target;
        lockPath += ".lock";
        file_ = CreateFileW(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        held_ = file_ != INVALID_HANDLE_VALUE && TakeWithinAWhile([this] {
                    OVERLAPPED whole = {};
                    return LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                                      1, 0, &whole)
                               ? LockAttempt::Taken
                               : LockAttempt::Busy;
                });
    }
    ~SaveLock() {
        if (file_ != INVALID_HANDLE_VALUE) {
            CloseHandle(file_); // releases the lock
        }
    }
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;
    bool Held() const { return held_; }

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    bool held_ = false;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool WriteReplacing(const fs::path& target, std::string_view text) {
    std::error_code error;
    const fs::file_status old = fs::symlink_status(target, error);
    if (fs::is_regular_file(old) &&
        (old.permissions() & fs::perms::owner_write) == fs::perms::none) {
        return false;
    }
    fs::path temporary = target;
    temporary += std::string(TemporaryMark) + RandomSuffix();
    std::unique_ptr<std::FILE, FileCloser> file(_wfopen(temporary.c_str(), L"wbx"));
    if (!file) {
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size() &&
                         std::fflush(file.get()) == 0;
    if (std::fclose(file.release()) == 0 && written) {
        fs::rename(temporary, target, error);
        if (!error) {
            return true;
        }
    }
    fs::remove(temporary, error);
    return false;
}

#endif

// Creates the folder, takes the lock, runs the save; false when the file could not be written.
template <typename WriteFunction>
bool SaveLocked(const fs::path& target, const WriteFunction& writeFile) {
    std::error_code error;
    if (target.has_parent_path()) {
        fs::create_directories(target.parent_path(), error);
        if (error) {
            return false;
        }
    }
    const SaveLock lock(target);
    if (lock.Held()) {
        // No other save runs now: a temporary file in the folder was left by a crash.
        RemoveLeftOverTemporaries(target);
    }
    return writeFile();
}

} // namespace

TIniFile::TIniFile(std::string_view text) {
    if (text.starts_with(ByteOrderMark)) {
        byteOrderMark_ = true;
        text.remove_prefix(ByteOrderMark.size());
    }
    const auto firstBreak = text.find('\n');
    if (firstBreak != std::string_view::npos) {
        lineEnd_ = firstBreak > 0 && text[firstBreak - 1] == '\r' ? "\r\n" : "\n";
    }
    body_.reserve(text.size() + 1);
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        // Every CR at the end goes, not just the one of a "\r\n": they are blanks, and a line
        // that kept one would read differently once saved with the file's own line ends.
        while (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        body_.append(line);
        body_ += '\n';
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
}

TIniFile TIniFile::Load(const std::string& path) {
    std::error_code error;
    const fs::path file = NarrowToPath(path);
    const bool exists = fs::exists(file, error);
    if (error) {
        // Not "missing": a save after reading it as empty would replace what the user has.
        throw IniFileError("Unable to read " + AbsoluteText(file));
    }
    return exists ? TIniFile(ReadWholeFile(file)) : TIniFile();
}

void TIniFile::Update(const std::string& path, const std::function<void(TIniFile&)>& change,
                      SymlinkAtPath symlink) {
    const fs::path target = WritableTarget(path, symlink);
    const bool written = SaveLocked(target, [&] {
        std::error_code error;
        // A link we are told to replace is never read through either.
        const bool replacedLink =
            symlink == SymlinkAtPath::Replace && fs::is_symlink(NarrowToPath(path), error);
        TIniFile file = replacedLink ? TIniFile() : Load(path);
        change(file);
        return WriteReplacing(target, file.Text());
    });
    if (!written) {
        throw IniFileError("Unable to write to " + AbsoluteText(NarrowToPath(path)));
    }
}

std::string TIniFile::DefaultLineEnd() {
#ifdef _WIN32
    return "\r\n";
#else
    return "\n";
#endif
}

TIniFile::Line TIniFile::LineAt(std::size_t start) const {
    const std::size_t end = body_.find('\n', start);
    return {start, std::string_view(body_).substr(start, end - start)};
}

TIniFile::SectionRange TIniFile::FindSection(std::string_view section) const {
    for (auto header = NextHeader(body_, 0); header; header = NextHeader(body_, header->End + 1)) {
        if (EqualsIgnoringCase(header->Name, section)) {
            const std::size_t bodyStart = header->End + 1;
            const auto next = NextHeader(body_, bodyStart);
            return {header->Start, bodyStart, next ? next->Start : body_.size()};
        }
    }
    return {body_.size(), body_.size(), body_.size()};
}

std::optional<TIniFile::Line> TIniFile::NextEntryLine(std::size_t from, std::size_t end) const {
    // Only a line with "=" holds an entry: blank and other lines are passed at the speed of a
    // search for that character.
    while (from < end) {
        const std::size_t equals = body_.find('=', from);
        if (equals == std::string::npos || equals >= end) {
            return std::nullopt;
        }
        const std::size_t lineBreakBefore = body_.rfind('\n', equals);
        const std::size_t start = lineBreakBefore == std::string::npos || lineBreakBefore < from
                                      ? from
                                      : lineBreakBefore + 1;
        const Line line = LineAt(start);
        if (ParseKeyValue(line.Text)) {
            return line;
        }
        from = start + line.Text.size() + 1;
    }
    return std::nullopt;
}

std::optional<TIniFile::Line> TIniFile::FindKey(const SectionRange& range,
                                                std::string_view key) const {
    for (auto line = NextEntryLine(range.Body, range.End); line;
         line = NextEntryLine(line->Start + line->Text.size() + 1, range.End)) {
        if (EqualsIgnoringCase(ParseKeyValue(line->Text)->Key, key)) {
            return line;
        }
    }
    return std::nullopt;
}

std::optional<std::string> TIniFile::ReadString(std::string_view section,
                                                std::string_view key) const {
    const SectionRange range = FindSection(section);
    if (range.Header == body_.size()) {
        return std::nullopt;
    }
    const auto line = FindKey(range, key);
    if (!line) {
        return std::nullopt;
    }
    return std::string(ParseKeyValue(line->Text)->Value);
}

void TIniFile::ForEachInSection(
    std::string_view section,
    const std::function<void(std::string_view key, std::string_view value)>& visit) const {
    const SectionRange range = FindSection(section);
    for (auto line = NextEntryLine(range.Body, range.End); line;
         line = NextEntryLine(line->Start + line->Text.size() + 1, range.End)) {
        const auto entry = ParseKeyValue(line->Text);
        visit(entry->Key, entry->Value);
    }
}

std::vector<std::pair<std::string, std::string>>
TIniFile::ReadSection(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> entries;
    ForEachInSection(section, [&entries](std::string_view key, std::string_view value) {
        entries.emplace_back(key, value);
    });
    return entries;
}

namespace {

// Where the line that ends just before position end starts (end > 0, body[end - 1] == '\n').
std::size_t PreviousLineStart(std::string_view body, std::size_t end) {
    if (end < 2) {
        return 0;
    }
    const std::size_t lineBreak = body.rfind('\n', end - 2);
    return lineBreak == std::string_view::npos ? 0 : lineBreak + 1;
}

} // namespace

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::string line = std::string(key) + "=" + SingleLine(value) + "\n";
    const SectionRange range = FindSection(section);
    if (range.Header == body_.size()) {
        const std::size_t lastLine = PreviousLineStart(body_, body_.size());
        if (!body_.empty() && !TrimBlanks(LineAt(lastLine).Text).empty()) {
            body_ += '\n';
        }
        body_.append("[").append(section).append("]\n").append(line);
        return;
    }
    if (const auto existing = FindKey(range, key)) {
        body_.replace(existing->Start, existing->Text.size() + 1, line);
        return;
    }
    // After the section's last non-blank line, so the blank line before the next section stays.
    std::size_t insertAt = range.End;
    while (insertAt > range.Body) {
        const std::size_t previous = PreviousLineStart(body_, insertAt);
        if (!TrimBlanks(LineAt(previous).Text).empty()) {
            break;
        }
        insertAt = previous;
    }
    body_.insert(insertAt, line);
}

std::string TIniFile::Text() const {
    std::string text = byteOrderMark_ ? std::string(ByteOrderMark) : std::string();
    if (lineEnd_ == "\n") {
        return text + body_;
    }
    text.reserve(text.size() + body_.size() * 2);
    for (const char c : body_) {
        if (c == '\n') {
            text += lineEnd_;
        } else {
            text += c;
        }
    }
    return text;
}

void TIniFile::Save(const std::string& path) const {
    const fs::path target = WritableTarget(path, SymlinkAtPath::Follow);
    if (!SaveLocked(target, [&] { return WriteReplacing(target, Text()); })) {
        throw IniFileError("Unable to write to " + AbsoluteText(NarrowToPath(path)));
    }
}

} // namespace nimbrel
