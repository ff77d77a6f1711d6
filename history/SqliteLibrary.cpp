#include "history/SqliteLibrary.h"

#include "history/HistoryDatabase.h"

#include <string>

#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace nimbrel {

namespace {

#ifdef _WIN32

SqliteApi Load() {
    SqliteApi api;
#define NIMBREL_SQLITE_BIND(name) api.name = &sqlite3_##name;
    NIMBREL_SQLITE_FUNCTIONS(NIMBREL_SQLITE_BIND)
#undef NIMBREL_SQLITE_BIND
    return api;
}

#else

// The run-time name of Debian's package libsqlite3-0, which the package depends on.
constexpr const char* LibraryName = "libsqlite3.so.0";

[[noreturn]] void CannotLoad(const std::string& what) {
    throw HistoryError(HistoryError::Kind::Other,
                       std::string("SQLite (") + LibraryName + ") cannot be loaded: " + what);
}

template <typename Function> void Bind(void* library, Function& function, const char* symbol) {
    void* const address = dlsym(library, symbol);
    if (address == nullptr)
        CannotLoad(std::string(symbol) + " is missing");
    function = reinterpret_cast<Function>(address);
}

SqliteApi Load() {
    // Never closed: statements and connections may live until the process ends.
    void* const library = dlopen(LibraryName, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* error = dlerror();
        CannotLoad(error != nullptr ? error : "unknown error");
    }
    SqliteApi api;
#define NIMBREL_SQLITE_BIND(name) Bind(library, api.name, "sqlite3_" #name);
    NIMBREL_SQLITE_FUNCTIONS(NIMBREL_SQLITE_BIND)
#undef NIMBREL_SQLITE_BIND
    return api;
}

#endif

} // namespace

const SqliteApi& Sqlite() {
    // Set by the first call whose loading succeeds; one that throws leaves it to the next.
    static const SqliteApi api = Load();
    return api;
}

} // namespace nimbrel
