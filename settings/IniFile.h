#pragma once
// Our ini reader and writer. It follows the Windows profile functions the settings file and the
// station database were designed on: section and key names match without regard to case, blanks
// around keys and values are trimmed, the first section and the first key of a name win, and a
// write changes one line in place (or appends the key at the end of its section) so that every
// other line of a hand-edited file survives a save.
#include <cstddef>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace nimbrel {

// A file we refuse to read (too large, unreadable) or could not write.
struct IniFileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// What a save does with a symbolic link at the file's place.
enum class SymlinkAtPath {
    Follow,  // the link survives and the file it points to is replaced (a user's own link)
    Replace, // the link itself is replaced by the file (a place the program alone writes)
};

class TIniFile {
public:
    // A hand-edited file may be anything; nothing we read is allowed to make us allocate more.
    static constexpr std::size_t MaxFileSize = 16u * 1024u * 1024u;

    TIniFile() = default;
    // The lines of an ini text; "\r\n" and "\n" endings are both accepted.
    explicit TIniFile(std::string_view text);

    // A missing file reads as an empty one; throws IniFileError when the file exists but cannot
    // be read or is larger than MaxFileSize, and when the path cannot be examined at all.
    static TIniFile Load(const std::string& path);

    // Load, change, Save, with other saves of the same file held off meanwhile (an advisory
    // lock), so no save loses what another one wrote. Throws IniFileError.
    static void Update(const std::string& path, const std::function<void(TIniFile&)>& change,
                       SymlinkAtPath symlink = SymlinkAtPath::Follow);

    // The value of the first key of that name in the first section of that name.
    std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
    // Every key=value line of the section, in file order, duplicates included.
    std::vector<std::pair<std::string, std::string>> ReadSection(std::string_view section) const;
    // The same entries, handed over one by one without copying the section first.
    void ForEachInSection(
        std::string_view section,
        const std::function<void(std::string_view key, std::string_view value)>& visit) const;
    // Line breaks in the value become spaces: a value must never be able to add lines.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    // The whole file as it would be saved.
    std::string Text() const;
    // Replaces the file in one step (a new, uniquely named file in the same folder, then a
    // rename), creating missing folders, so a failed save leaves the old file whole. The old
    // file's permissions are kept; a read-only file is refused; a link at path is followed, so
    // the link itself survives. Throws IniFileError.
    void Save(const std::string& path) const;

private:
    // Byte offsets into body_: the header line, the section's first body line and the end of
    // its last line; all three are body_.size() when the section is missing.
    struct SectionRange {
        std::size_t Header, Body, End;
    };
    struct Line {
        std::size_t Start;
        std::string_view Text; // without its line break
    };

    // Every line followed by "\n" (a "\r" before it removed): one allocation for the whole file,
    // where a string per line cost 30 times the size of a file of short lines.
    std::string body_;
    std::string lineEnd_ = DefaultLineEnd();
    bool byteOrderMark_ = false;

    static std::string DefaultLineEnd();
    Line LineAt(std::size_t start) const;
    SectionRange FindSection(std::string_view section) const;
    // The first key=value line that starts at or after from and before end.
    std::optional<Line> NextEntryLine(std::size_t from, std::size_t end) const;
    std::optional<Line> FindKey(const SectionRange& range, std::string_view key) const;
};

} // namespace nimbrel
