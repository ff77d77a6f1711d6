#pragma once
// SQLite, loaded when a history file is first opened rather than with the program. The desktop
// program keeps its history through its helper process, so most of its runs never open the
// file; a library loaded at start would still cost every start the pages its loading touches.
// On Windows SQLite is built into the programs and nothing is loaded.
#include <sqlite3.h>

namespace nimbrel {

// The functions the history uses, one list for the table and its loading.
#define NIMBREL_SQLITE_FUNCTIONS(X)                                                                \
    X(open_v2)                                                                                     \
    X(close_v2)                                                                                    \
    X(extended_result_codes)                                                                       \
    X(busy_timeout)                                                                                \
    X(errmsg)                                                                                      \
    X(errstr)                                                                                      \
    X(exec)                                                                                        \
    X(prepare_v2)                                                                                  \
    X(finalize)                                                                                    \
    X(step)                                                                                        \
    X(reset)                                                                                       \
    X(bind_text)                                                                                   \
    X(bind_int)                                                                                    \
    X(bind_int64)                                                                                  \
    X(bind_double)                                                                                 \
    X(bind_null)                                                                                   \
    X(column_type)                                                                                 \
    X(column_int64)                                                                                \
    X(column_double)                                                                               \
    X(column_text)                                                                                 \
    X(column_bytes)

struct SqliteApi {
#define NIMBREL_SQLITE_MEMBER(name) decltype(&sqlite3_##name) name = nullptr;
    NIMBREL_SQLITE_FUNCTIONS(NIMBREL_SQLITE_MEMBER)
#undef NIMBREL_SQLITE_MEMBER
};

// The library's functions, loaded by the first call (from any thread) and kept until the process
// ends. Throws HistoryError (Kind::Other) naming the library when it cannot be loaded; the next
// call tries again.
const SqliteApi& Sqlite();

} // namespace nimbrel
