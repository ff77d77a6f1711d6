#include "history/History.h"

#include "base/TextTime.h"
#include "base/UserFolders.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <system_error>

namespace nimbrel {

namespace {

constexpr const char* FileName = "history.sqlite3";
// Enough for every damaged file of a day; beyond it the file stays where it is.
constexpr int MaxDamagedNames = 100;

} // namespace

std::string DefaultHistoryPath() {
#ifdef _WIN32
    const std::filesystem::path folder = WindowsFolder("APPDATA");
    return folder.empty() ? std::string() : (folder / "Nimbrel" / FileName).string();
#else
    const std::filesystem::path folder = XdgFolder("XDG_DATA_HOME", ".local/share");
    return folder.empty() ? std::string() : (folder / "nimbrel" / FileName).string();
#endif
}

std::string DamagedHistoryName(const std::string& path, const TDateTime& utcNow, int attempt) {
    const std::filesystem::path file(path);
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", utcNow.Year, utcNow.Month, utcNow.Day);
    std::string name = file.stem().string() + ".damaged-" + date;
    if (attempt > 1)
        name += "-" + std::to_string(attempt);
    return (file.parent_path() / (name + file.extension().string())).string();
}

THistory::THistory(std::string path, const Clock& clock, Warn warn,
                   std::chrono::milliseconds busyTimeout)
    : path_(std::move(path)), clock_(clock), warn_(std::move(warn)), busyTimeout_(busyTimeout) {}

THistory::~THistory() = default;

std::int64_t THistory::NowUtc() const {
    return UtcSeconds(clock_.UtcNow());
}

void THistory::Failed(const std::string& what) {
    db_.reset();
    if (!warned_ && warn_)
        warn_("History not available (" + path_ + "): " + what);
    warned_ = true;
}

THistoryDatabase* THistory::Open() {
    if (db_)
        return db_.get();
    try {
        return OpenOrMoveAside();
    } catch (const std::exception& error) {
        Failed(error.what());
        return nullptr;
    }
}

THistoryDatabase* THistory::OpenOrMoveAside() {
    if (path_.empty())
        throw HistoryError(HistoryError::Kind::Other, "no folder for it is known");
    namespace fs = std::filesystem;
    fs::create_directories(fs::path(path_).parent_path());
    try {
        db_ = std::make_unique<THistoryDatabase>(path_, THistoryDatabase::Mode::ReadWrite,
                                                 busyTimeout_);
        return db_.get();
    } catch (const HistoryError& error) {
        if (error.What() != HistoryError::Kind::Damaged)
            throw;
    }
    // Its journal goes along: replayed into the new file it would damage that one too.
    for (int attempt = 1; attempt <= MaxDamagedNames; ++attempt) {
        const std::string aside = DamagedHistoryName(path_, clock_.UtcNow(), attempt);
        if (fs::exists(aside))
            continue;
        fs::rename(path_, aside);
        for (const char* suffix : {"-wal", "-shm"}) {
            std::error_code ignored;
            if (fs::exists(path_ + suffix))
                fs::rename(path_ + suffix, aside + suffix, ignored);
        }
        if (warn_)
            warn_("History file " + path_ + " was damaged; moved to " + aside +
                  ", a new one is started.");
        db_ = std::make_unique<THistoryDatabase>(path_, THistoryDatabase::Mode::ReadWrite,
                                                 busyTimeout_);
        return db_.get();
    }
    throw HistoryError(HistoryError::Kind::Damaged, "damaged, and no name left to move it to");
}

std::vector<THistoryRecord> THistory::Decode(const std::vector<FetchedStationFile>& files) {
    if (!decoder_)
        decoder_ = std::make_unique<TMetarDecoder>(clock_);
    std::vector<THistoryRecord> records;
    for (const FetchedStationFile& file : files) {
        if (file.Code.empty() || TrimBlanks(file.Text).empty())
            continue;
        // Trimmed as the program holds a fetched text.
        const std::string_view text = TrimBlanks(file.Text);
        TWeatherInfo decoded;
        try {
            decoder_->DecodeMetar(text, decoded, 0, true);
        } catch (const std::exception&) {
            // Kept as far as it was decoded, as the display shows it.
        }
        const auto observed = ObservationTime(text, decoded.TimeGroup);
        if (observed && !decoded.Metar.empty())
            records.push_back(MakeHistoryRecord(file.Code, *observed, decoded));
    }
    return records;
}

bool THistory::StoreRun(const std::vector<FetchedStationFile>& files) {
    if (!helper_ || db_)
        return StoreHere(files);
    const std::string text = HistoryRunText(files);
    if (text.empty())
        return true;
    const auto outcome = helper_(text);
    return outcome ? TakeOutcome(*outcome) : StoreHere(files);
}

bool THistory::StoreHere(const std::vector<FetchedStationFile>& files) {
    const std::vector<THistoryRecord> records = Decode(files);
    if (records.empty())
        return true;
    THistoryDatabase* db = Open();
    if (!db)
        return false;
    try {
        db->Store(records, NowUtc() - HistoryKeptSeconds);
        warned_ = false;
        return true;
    } catch (const std::exception& error) {
        Failed(error.what());
        return false;
    }
}

bool THistory::TakeOutcome(const HistoryHelperOutcome& outcome) {
    // The helper warns afresh at every failure; the log hears of one until a run is kept.
    if (warn_ && (outcome.Stored || !warned_))
        for (const std::string& warning : outcome.Warnings)
            warn_(warning);
    warned_ = !outcome.Stored;
    return outcome.Stored;
}

std::vector<THistoryRecord> THistory::Load(const std::string& station, std::int64_t from) {
    THistoryDatabase* db = Open();
    try {
        return db ? db->Load(station, from) : std::vector<THistoryRecord>{};
    } catch (const std::exception& error) {
        Failed(error.what());
        return {};
    }
}

std::vector<HistoryStation> THistory::Stations() {
    THistoryDatabase* db = Open();
    try {
        return db ? db->Stations() : std::vector<HistoryStation>{};
    } catch (const std::exception& error) {
        Failed(error.what());
        return {};
    }
}

} // namespace nimbrel
