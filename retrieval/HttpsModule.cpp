#include "retrieval/HttpsModule.h"

#include "base/TextTime.h"
#include "settings/ProgramPath.h"

#include <mutex>
#include <stdexcept>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#ifndef NIMBREL_MODULE_FOLDER
#define NIMBREL_MODULE_FOLDER "../lib/nimbrel"
#endif

namespace nimbrel {

namespace {

// One reference to the loaded module. The module is never unloaded, even when the last
// reference goes: the TLS libraries it brings in keep exit handlers and thread-local state that
// must outlive any client.
class ModuleHandle {
public:
    explicit ModuleHandle(const std::filesystem::path& path) {
#ifdef _WIN32
        // The altered search path finds the module's own libraries beside it.
        handle_ = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        HMODULE pinned = nullptr;
        if (handle_ != nullptr) {
            GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN, path.c_str(), &pinned);
        }
#else
        handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
#endif
        if (handle_ == nullptr) {
            throw std::runtime_error("The HTTPS module " + PathToNarrow(path) +
                                     " cannot be loaded: " + LastError() + ".");
        }
    }
    ~ModuleHandle() {
#ifdef _WIN32
        FreeLibrary(handle_);
#else
        dlclose(handle_);
#endif
    }
    ModuleHandle(const ModuleHandle&) = delete;
    ModuleHandle& operator=(const ModuleHandle&) = delete;

    HttpsModuleEntry Entry() const {
#ifdef _WIN32
        // Through the generic function type, which any function pointer converts to cleanly.
        const auto entry =
            reinterpret_cast<void (*)()>(GetProcAddress(handle_, HttpsModuleEntryName));
#else
        void* const entry = dlsym(handle_, HttpsModuleEntryName);
#endif
        return reinterpret_cast<HttpsModuleEntry>(entry);
    }

private:
    static std::string LastError() {
#ifdef _WIN32
        // The system's text ends in a line break.
        return std::string(
            TrimBlanks(std::system_category().message(static_cast<int>(GetLastError()))));
#else
        const char* error = dlerror();
        return error != nullptr ? error : "unknown error";
#endif
    }

#ifdef _WIN32
    HMODULE handle_;
#else
    void* handle_;
#endif
};

std::string FolderList(const std::vector<std::filesystem::path>& folders) {
    std::string list;
    for (const std::filesystem::path& folder : folders) {
        list += (list.empty() ? "" : ", ") + PathToNarrow(folder);
    }
    return list;
}

// The module and its client once Connect has loaded them.
class ModuleSource final : public StationSource {
public:
    ModuleSource(HttpsEndpoint endpoint, std::vector<std::filesystem::path> folders)
        : endpoint_(std::move(endpoint)), folders_(std::move(folders)) {}

    void Connect() override {
        auto [module, source] = Load();
        {
            const std::lock_guard lock(mutex_);
            if (aborted_) {
                throw std::runtime_error("Connection aborted.");
            }
            module_ = std::move(module);
            source_ = std::move(source);
        }
        source_->Connect();
    }
    void EnterStationDirectory() override { source_->EnterStationDirectory(); }
    void Retrieve(const std::string& code, std::string& buffer) override {
        source_->Retrieve(code, buffer);
    }
    void Disconnect() override {
        if (source_) {
            source_->Disconnect();
        }
    }
    void Abort(std::chrono::milliseconds grace) override {
        const std::lock_guard lock(mutex_);
        aborted_ = true;
        if (source_) {
            source_->Abort(grace);
        }
    }

private:
    std::pair<std::unique_ptr<ModuleHandle>, std::unique_ptr<StationSource>> Load() const;

    HttpsEndpoint endpoint_;
    std::vector<std::filesystem::path> folders_;
    // Guards source_ being set against Abort from another thread.
    std::mutex mutex_;
    bool aborted_ = false;
    std::unique_ptr<ModuleHandle> module_; // declared before the client: outlives it
    std::unique_ptr<StationSource> source_;
};

std::pair<std::unique_ptr<ModuleHandle>, std::unique_ptr<StationSource>>
ModuleSource::Load() const {
    const std::string name = HttpsModuleFileName();
    for (const std::filesystem::path& folder : folders_) {
        const std::filesystem::path path = folder / NarrowToPath(name);
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error)) {
            continue;
        }
        auto module = std::make_unique<ModuleHandle>(path);
        const HttpsModuleEntry entry = module->Entry();
        std::unique_ptr<StationSource> source;
        if (entry == nullptr || !entry(NIMBREL_VERSION, endpoint_, source) || !source) {
            throw std::runtime_error("The HTTPS module " + PathToNarrow(path) +
                                     " does not belong to this version of the program (" +
                                     NIMBREL_VERSION + ").");
        }
        return {std::move(module), std::move(source)};
    }
    throw std::runtime_error("Reports cannot be fetched over HTTPS: the module " + name +
                             " is not installed (looked for in " + FolderList(folders_) + ").");
}

} // namespace

std::string HttpsModuleFileName() {
#ifdef _WIN32
    return "nimbrel-https.dll";
#else
    return "nimbrel-https.so";
#endif
}

std::vector<std::filesystem::path> HttpsModuleFolders() {
    const std::filesystem::path folder = NarrowToPath(ExecutableFolder());
    if (folder.empty()) {
        return {};
    }
    return {folder, (folder / NIMBREL_MODULE_FOLDER).lexically_normal()};
}

std::unique_ptr<StationSource> MakeHttpsSource(HttpsEndpoint endpoint,
                                               std::vector<std::filesystem::path> folders) {
    return std::make_unique<ModuleSource>(std::move(endpoint), std::move(folders));
}

} // namespace nimbrel
