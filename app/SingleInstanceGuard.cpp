#include "app/SingleInstanceGuard.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace nimbrel {

#ifdef _WIN32

SingleInstanceGuard::SingleInstanceGuard(const std::string& name, const std::string&) {
    mutex_ = CreateMutexA(nullptr, TRUE, name.c_str());
    // Only a mutex that already exists means another copy. One that cannot be made at all
    // leaves the guard without effect, and the program runs, as on Linux without a lock file.
    first_ = GetLastError() != ERROR_ALREADY_EXISTS;
}

SingleInstanceGuard::~SingleInstanceGuard() {
    if (mutex_ == nullptr)
        return;
    if (first_)
        ReleaseMutex(mutex_);
    CloseHandle(mutex_);
}

#else

namespace {

std::string DefaultLockFolder() {
    // The runtime folder is per user and cleared at logout, like a session's named mutex.
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return runtime;
    std::error_code error;
    return std::filesystem::temp_directory_path(error).string();
}

std::string LockFileName(const std::string& name) {
    // The temp folder is shared by all users: the user id keeps one user's copy from blocking
    // another's.
    return name + "-" + std::to_string(getuid()) + ".lock";
}

} // namespace

SingleInstanceGuard::SingleInstanceGuard(const std::string& name, const std::string& lockFolder) {
    const std::filesystem::path folder = lockFolder.empty() ? DefaultLockFolder() : lockFolder;
    const std::string path = (folder / LockFileName(name)).string();
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // Without a lock file the guard cannot work; refusing to start would be worse than a
    // second copy, so the program runs.
    if (fd_ < 0) {
        first_ = true;
        return;
    }
    // The kernel drops the lock when the process ends, even after a crash.
    first_ = flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

SingleInstanceGuard::~SingleInstanceGuard() {
    if (fd_ >= 0)
        close(fd_);
}

#endif

} // namespace nimbrel
