#pragma once
// A run of fetched station files on its way to another process that keeps it in the history,
// so that a refresh never loads the database code into the desktop program. Each file is a line
// "CODE LENGTH" followed by its LENGTH bytes; nothing else.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimbrel {

struct FetchedStationFile {
    std::string Code;
    std::string Text; // the whole file, first line included
};

// A run holds at most one file per station of the program; each file at most what a fetch
// accepts. Beyond either the text is refused.
inline constexpr std::size_t MaxHistoryRunFiles = 5;
inline constexpr std::size_t MaxHistoryRunFileBytes = 1024 * 1024;

// Files without a code are left out: they hold nothing to keep.
std::string HistoryRunText(const std::vector<FetchedStationFile>& files);
// Throws std::invalid_argument when the text is not such a run.
std::vector<FetchedStationFile> ParseHistoryRun(std::string_view text);

// The helper's answer: whether the run is kept (or held nothing to keep), and its warnings.
struct HistoryHelperOutcome {
    bool Stored = false;
    std::vector<std::string> Warnings;
};
// Hands a run's text to the helper and waits for it; nullopt when it could not be run to its
// end, and the run is then kept in this process.
using HistoryHelper = std::function<std::optional<HistoryHelperOutcome>(const std::string&)>;

// The helper's exit codes: kept, or the history is not available (its warning says why).
inline constexpr int HistoryHelperStored = 0;
inline constexpr int HistoryHelperNotStored = 3;

} // namespace nimbrel
