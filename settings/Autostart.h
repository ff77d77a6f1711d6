#pragma once
// Starting the program at logon: the Run-key value on Windows, an XDG autostart entry
// ($XDG_CONFIG_HOME/autostart/<valueName>.desktop) on Linux.
#include <string>

namespace nimbrel {

// Writes the entry named valueName that starts data (the program's absolute path) when enable
// is set, removes it otherwise. True when done (removing an entry that does not exist counts as
// done); false when the entry could not be written or removed, and false without doing anything
// when both valueName and data are empty.
bool SetAutostart(const std::string& valueName, const std::string& data, bool enable);

} // namespace nimbrel
