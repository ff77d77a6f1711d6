#include "history/HistoryDatabase.h"

#include "history/SqliteLibrary.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace nimbrel {

namespace {

// SQLite takes file names in UTF-8; the program's narrow paths are in the system's code page
// on Windows.
std::string Utf8Path(const std::string& path) {
#ifdef _WIN32
    const int size = static_cast<int>(path.size());
    std::wstring wide(
        static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, path.data(), size, nullptr, 0)),
        L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), size, wide.data(), static_cast<int>(wide.size()));
    std::string utf8(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(),
                                                                  static_cast<int>(wide.size()),
                                                                  nullptr, 0, nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                        static_cast<int>(utf8.size()), nullptr, nullptr);
    return utf8;
#else
    return path;
#endif
}

HistoryError::Kind KindOf(int code) {
    switch (code & 0xFF) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return HistoryError::Kind::Damaged;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return HistoryError::Kind::Busy;
    default:
        return HistoryError::Kind::Other;
    }
}

[[noreturn]] void Fail(sqlite3* db, int code) {
    throw HistoryError(KindOf(code), db ? Sqlite().errmsg(db) : Sqlite().errstr(code));
}

void Check(sqlite3* db, int code) {
    if (code != SQLITE_OK && code != SQLITE_DONE && code != SQLITE_ROW)
        Fail(db, code);
}

constexpr const char* CreateReports = R"(
CREATE TABLE IF NOT EXISTS reports (
    station TEXT NOT NULL,
    observed INTEGER NOT NULL,
    metar TEXT NOT NULL,
    temperature REAL,
    dew_point REAL,
    pressure REAL,
    wind_direction TEXT,
    wind_speed REAL,
    visibility REAL,
    condition INTEGER,
    PRIMARY KEY (station, observed)
) WITHOUT ROWID)";

// One prepared statement; its columns and parameters count from 0 and 1 as in SQLite.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) : db_(db) {
        Check(db_, Sqlite().prepare_v2(db_, sql, -1, &statement_, nullptr));
    }
    ~Statement() { Sqlite().finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void Bind(int at, const std::string& text) {
        Check(db_, Sqlite().bind_text(statement_, at, text.data(), static_cast<int>(text.size()),
                                      SQLITE_TRANSIENT));
    }
    void Bind(int at, std::int64_t value) {
        Check(db_, Sqlite().bind_int64(statement_, at, value));
    }
    void Bind(int at, const std::optional<double>& value) {
        Check(db_, value ? Sqlite().bind_double(statement_, at, *value)
                         : Sqlite().bind_null(statement_, at));
    }
    void Bind(int at, const std::optional<int>& value) {
        Check(db_, value ? Sqlite().bind_int(statement_, at, *value)
                         : Sqlite().bind_null(statement_, at));
    }
    void Bind(int at, const std::optional<std::string>& value) {
        if (value)
            Bind(at, *value);
        else
            Check(db_, Sqlite().bind_null(statement_, at));
    }

    // True while a row is ready.
    bool Step() {
        const int code = Sqlite().step(statement_);
        Check(db_, code);
        return code == SQLITE_ROW;
    }
    void Reset() { Sqlite().reset(statement_); }

    bool IsNull(int column) const {
        return Sqlite().column_type(statement_, column) == SQLITE_NULL;
    }
    std::int64_t Integer(int column) const { return Sqlite().column_int64(statement_, column); }
    std::string Text(int column) const {
        const auto* text = Sqlite().column_text(statement_, column);
        return text ? std::string(
                          reinterpret_cast<const char*>(text),
                          static_cast<std::size_t>(Sqlite().column_bytes(statement_, column)))
                    : std::string();
    }
    std::optional<double> Real(int column) const {
        return IsNull(column) ? std::nullopt
                              : std::optional<double>(Sqlite().column_double(statement_, column));
    }

private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

} // namespace

void THistoryDatabase::Closer::operator()(sqlite3* db) const {
    Sqlite().close_v2(db);
}

THistoryDatabase::THistoryDatabase(const std::string& path, Mode mode,
                                   std::chrono::milliseconds busyTimeout) {
    const int flags =
        mode == Mode::ReadWrite ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY;
    sqlite3* db = nullptr;
    const int opened =
        Sqlite().open_v2(Utf8Path(path).c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    db_.reset(db);
    if (opened != SQLITE_OK)
        Fail(db, opened);
    Sqlite().extended_result_codes(db, 1);
    Check(db, Sqlite().busy_timeout(db, static_cast<int>(busyTimeout.count())));
    // The first read of the file: a file that is no database fails here.
    const std::int64_t found = [db] {
        Statement version(db, "PRAGMA user_version");
        version.Step();
        return version.Integer(0);
    }();
    hasTable_ = found > 0;
    if (found > HistorySchemaVersion)
        throw HistoryError(HistoryError::Kind::Other,
                           "the file was written by a later version (layout " +
                               std::to_string(found) + ")");
    if (mode == Mode::ReadWrite)
        CreateSchema();
}

THistoryDatabase::~THistoryDatabase() = default;

void THistoryDatabase::Execute(const char* sql) const {
    Check(db_.get(), Sqlite().exec(db_.get(), sql, nullptr, nullptr, nullptr));
}

void THistoryDatabase::CreateSchema() {
    Execute("PRAGMA journal_mode=WAL");
    // In WAL mode this still never corrupts the file; a power cut may lose the last refresh.
    Execute("PRAGMA synchronous=NORMAL");
    Execute("BEGIN IMMEDIATE");
    try {
        Execute(CreateReports);
        Execute(("PRAGMA user_version=" + std::to_string(HistorySchemaVersion)).c_str());
        Execute("COMMIT");
        hasTable_ = true;
    } catch (const HistoryError&) {
        Sqlite().exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void THistoryDatabase::Store(const std::vector<THistoryRecord>& records, std::int64_t keepFrom) {
    Execute("BEGIN IMMEDIATE");
    try {
        Statement insert(db_.get(),
                         "INSERT OR IGNORE INTO reports (station, observed, metar, temperature, "
                         "dew_point, pressure, wind_direction, wind_speed, visibility, condition) "
                         "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
        for (const THistoryRecord& record : records) {
            insert.Bind(1, record.Station);
            insert.Bind(2, record.ObservedUtc);
            insert.Bind(3, record.Metar);
            insert.Bind(4, record.Temperature);
            insert.Bind(5, record.DewPoint);
            insert.Bind(6, record.Pressure);
            insert.Bind(7, record.WindDirection);
            insert.Bind(8, record.WindSpeed);
            insert.Bind(9, record.Visibility);
            insert.Bind(10, record.Condition);
            insert.Step();
            insert.Reset();
        }
        Statement prune(db_.get(), "DELETE FROM reports WHERE observed < ?1");
        prune.Bind(1, keepFrom);
        prune.Step();
        Execute("COMMIT");
    } catch (const HistoryError&) {
        Sqlite().exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

std::vector<THistoryRecord> THistoryDatabase::Load(const std::string& station,
                                                   std::int64_t from) const {
    if (!hasTable_)
        return {};
    Statement select(db_.get(),
                     "SELECT observed, metar, temperature, dew_point, pressure, wind_direction, "
                     "wind_speed, visibility, condition FROM reports "
                     "WHERE station = ?1 AND observed >= ?2 ORDER BY observed");
    const std::string key = StationKey(station);
    select.Bind(1, key);
    select.Bind(2, from);
    std::vector<THistoryRecord> records;
    while (select.Step()) {
        THistoryRecord& record = records.emplace_back();
        record.Station = key;
        record.ObservedUtc = select.Integer(0);
        record.Metar = select.Text(1);
        record.Temperature = select.Real(2);
        record.DewPoint = select.Real(3);
        record.Pressure = select.Real(4);
        if (!select.IsNull(5))
            record.WindDirection = select.Text(5);
        record.WindSpeed = select.Real(6);
        record.Visibility = select.Real(7);
        if (!select.IsNull(8))
            record.Condition = static_cast<int>(select.Integer(8));
    }
    return records;
}

std::vector<HistoryStation> THistoryDatabase::Stations() const {
    if (!hasTable_)
        return {};
    Statement select(db_.get(),
                     "SELECT station, count(*) FROM reports GROUP BY station ORDER BY station");
    std::vector<HistoryStation> stations;
    while (select.Step())
        stations.push_back({select.Text(0), select.Integer(1)});
    return stations;
}

} // namespace nimbrel
