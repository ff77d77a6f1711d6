#pragma once
// The report history file: one SQLite database in WAL mode, so readers never wait for the
// writer, with a busy timeout so two writers take turns instead of failing at once. Every
// failure throws HistoryError; THistory turns them into log lines.
#include "history/HistoryRecord.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;

namespace nimbrel {

// The layout version kept in the file (PRAGMA user_version); a later release migrates from it.
inline constexpr int HistorySchemaVersion = 1;
// How long reports are kept, counted back from now.
inline constexpr std::int64_t HistoryKeptSeconds = 30LL * 24 * 3600;

class HistoryError : public std::runtime_error {
public:
    enum class Kind {
        Damaged, // not a database, or a damaged one
        Busy,    // locked by another program for longer than the busy timeout
        Other,   // unwritable, full disk, a newer layout, ...
    };
    HistoryError(Kind kind, const std::string& message)
        : std::runtime_error(message), kind_(kind) {}
    Kind What() const { return kind_; }

private:
    Kind kind_;
};

// A station kept in the history and how many reports it holds.
struct HistoryStation {
    std::string Code;
    std::int64_t Reports = 0;
};

class THistoryDatabase {
public:
    enum class Mode { ReadWrite, ReadOnly };
    // ReadWrite creates the file (not its folder) and the table when missing; ReadOnly never
    // writes and throws when the file is missing.
    THistoryDatabase(const std::string& path, Mode mode,
                     std::chrono::milliseconds busyTimeout = std::chrono::seconds(2));
    ~THistoryDatabase();
    THistoryDatabase(const THistoryDatabase&) = delete;
    THistoryDatabase& operator=(const THistoryDatabase&) = delete;

    // In one transaction: every record not yet kept (same station and observation time), then
    // the removal of what was observed before keepFrom. All or nothing.
    void Store(const std::vector<THistoryRecord>& records, std::int64_t keepFrom);
    // A station's reports observed at or after from, oldest first.
    std::vector<THistoryRecord> Load(const std::string& station, std::int64_t from) const;
    std::vector<HistoryStation> Stations() const;

private:
    void CreateSchema();
    void Execute(const char* sql) const;

    struct Closer {
        void operator()(sqlite3* db) const;
    };
    std::unique_ptr<sqlite3, Closer> db_;
    bool hasTable_ = false; // false in a new file that nothing was stored in yet
};

} // namespace nimbrel
