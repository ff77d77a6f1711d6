#pragma once
// One running copy per user login, recognised by the executable's file name: a named mutex of the
// login session on Windows, a lock file of the user's elsewhere.
#include <string>

namespace nimbrel {

class SingleInstanceGuard {
public:
    // Claims the guard named name (the executable's file name, e.g. "Nimbrel.exe"); lockFolder
    // is where the Linux lock file lives (empty: $XDG_RUNTIME_DIR, else the temp folder) and is
    // not used on Windows.
    explicit SingleInstanceGuard(const std::string& name, const std::string& lockFolder = {});
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // False when another copy holds the guard.
    bool IsFirstInstance() const { return first_; }

private:
    bool first_ = false;
#ifdef _WIN32
    void* mutex_ = nullptr;
#else
    int fd_ = -1;
#endif
};

} // namespace nimbrel
