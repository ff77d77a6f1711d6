#pragma once
// Showing the program's help: where the help file lives, what the user is told when it is
// missing or cannot be opened, and on Windows the HTML Help library that displays it.
#include <cstdint>
#include <optional>
#include <string>

namespace nimbrel {

// The compiled help on Windows; the same content as one HTML page elsewhere.
#ifdef _WIN32
inline constexpr const char* HelpFileName = "NBRHelp.chm";
#else
inline constexpr const char* HelpFileName = "NBRHelp.html";
#endif

inline constexpr const char* HelpViewErrorMessage = "Error on viewing help file.";

// "The help file '<fileName>' could not be found."
std::string HelpFileMissingMessage(const std::string& fileName);

// The help file beside the program; elsewhere than Windows also the installed data folder
// ../share/nimbrel beside it. nullopt when no such file exists.
std::optional<std::string> FindHelpFile(const std::string& executableFolder);

// A path whose first 12 characters are %SystemRoot% in any case gets those characters replaced
// by windowsFolder, less one trailing backslash; any other path comes back unchanged.
std::string ExpandSystemRoot(const std::string& path, const std::string& windowsFolder);

// Drops one trailing backslash, as the system and Windows folders are used without it.
std::string WithoutTrailingBackslash(std::string folder);

// The main window's side of showing help.
class HelpActions {
public:
    virtual ~HelpActions() = default;
    virtual void ShowWarning(const std::string& text) = 0;
    virtual void AddLogMessage(int kind, const std::string& message) = 0;
    // Opens the file's default topic; false when that is impossible.
    virtual bool OpenHelpFile(const std::string& path) = 0;
};

// ActionHelpReadMeExecute: a missing file is the user's to fix, so it gets a warning naming the
// file looked for; a viewer that cannot open it is logged as an error.
void ShowHelp(const std::string& executableFolder, HelpActions& actions);

#ifdef _WIN32
// %SystemRoot% expanded with this system's Windows folder.
std::string ExpandSystemRoot(const std::string& path);

// The HTML Help control's path from its class registration, else the system folder's copy.
std::string FindHtmlHelpLibrary();

// The HTML Help library, loaded for the program's whole run.
class THtmlHelp {
public:
    THtmlHelp() { LoadHtmlHelp(); }
    ~THtmlHelp() { UnloadHtmlHelp(); }
    THtmlHelp(const THtmlHelp&) = delete;
    THtmlHelp& operator=(const THtmlHelp&) = delete;

    void LoadHtmlHelp();
    void UnloadHtmlHelp();

    // True when the library and its entry point were found.
    bool IsLoaded() const { return htmlHelp_ != nullptr; }

    // Shows the file's default topic, owned by the desktop window rather than the program's
    // windows; false when the library or its entry point is missing or the viewer refuses.
    bool DisplayTopic(const std::string& helpFilePath) const;

private:
    using HtmlHelpAFunction = void*(__stdcall*)(void*, const char*, unsigned, std::uintptr_t);

    void* library_ = nullptr;
    HtmlHelpAFunction htmlHelp_ = nullptr; // the entry point the program calls
};
#endif

} // namespace nimbrel
