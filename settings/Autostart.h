#pragma once
// Starting the program at logon: the Run-key value on Windows, an XDG autostart entry
// ($XDG_CONFIG_HOME/autostart/<valueName>.desktop) on Linux.
#include <optional>
#include <string>

namespace nimbrel {

// Writes the entry named valueName that starts data (the program's absolute path) when enable
// is set, removes it otherwise. True when done (removing an entry that does not exist counts as
// done); false when the entry could not be written or removed, and false without doing anything
// when both valueName and data are empty.
bool SetAutostart(const std::string& valueName, const std::string& data, bool enable);

inline constexpr const char* AutostartInvalidPathMessage =
    "The program was not added to the programs started at logon: its path is not valid UTF-8, "
    "which a desktop entry cannot hold.";

// Why no autostart entry can start the program at data (a path that is not valid UTF-8);
// nullopt when one can. SetAutostart writes no entry then, and the caller logs this warning.
std::optional<std::string> AutostartRefusal(const std::string& data);

} // namespace nimbrel
