#pragma once
// The program's report history: opened when first needed, never in the way. Every failure
// becomes one warning line (until a later attempt works again) and the program goes on without
// history; a damaged file is moved aside with the date in its name and a new one is started,
// never deleted. Main thread only.
#include "base/Clock.h"
#include "decode/DecodeMetar.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryRun.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace nimbrel {

// Where the history is kept: %APPDATA%\Nimbrel\history.sqlite3 on Windows,
// $XDG_DATA_HOME/nimbrel/history.sqlite3 (~/.local/share/nimbrel/) elsewhere. Empty when neither
// the variable nor a home folder is known.
std::string DefaultHistoryPath();

// The name a damaged file is moved to: history.sqlite3 -> history.damaged-2026-12-09.sqlite3,
// with "-2", "-3", ... after the date when that name is taken.
std::string DamagedHistoryName(const std::string& path, const TDateTime& utcNow, int attempt);

class THistory {
public:
    using Warn = std::function<void(const std::string&)>;
    THistory(std::string path, const Clock& clock, Warn warn,
             std::chrono::milliseconds busyTimeout = std::chrono::seconds(2));
    ~THistory();
    THistory(const THistory&) = delete;
    THistory& operator=(const THistory&) = delete;

    // Decodes and keeps each freshly fetched station file (one without a code, text or time is
    // skipped), then removes what is older than the kept span. False when the history is not
    // available.
    bool StoreRun(const std::vector<FetchedStationFile>& files);
    // From now on runs are kept by the helper while this object has not opened the file itself
    // (for the History window): the database code then stays out of the process. A run the
    // helper could not finish is kept here.
    void StoreThrough(HistoryHelper helper) { helper_ = std::move(helper); }
    // Nothing when the history cannot be read.
    std::vector<THistoryRecord> Load(const std::string& station, std::int64_t from);
    std::vector<HistoryStation> Stations();
    const std::string& Path() const { return path_; }

private:
    bool StoreHere(const std::vector<FetchedStationFile>& files);
    bool TakeOutcome(const HistoryHelperOutcome& outcome);
    THistoryDatabase* Open();
    THistoryDatabase* OpenOrMoveAside();
    std::vector<THistoryRecord> Decode(const std::vector<FetchedStationFile>& files);
    void Failed(const std::string& what);
    std::int64_t NowUtc() const;

    std::string path_;
    const Clock& clock_;
    Warn warn_;
    std::chrono::milliseconds busyTimeout_;
    std::unique_ptr<TMetarDecoder> decoder_;
    std::unique_ptr<THistoryDatabase> db_;
    HistoryHelper helper_;
    bool warned_ = false;
};

} // namespace nimbrel
