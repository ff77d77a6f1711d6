#pragma once
// The history helper as the desktop program runs it: nimbrel-cli history-store, beside the
// program, reading the run on its standard input. The program waits for it (at most
// HistoryHelperWait) as it would wait for its own write.
#include "history/HistoryRun.h"

#include <QString>
#include <chrono>

namespace nimbrel::gui {

// Longer than the database's busy timeout, so a locked file is the helper's own warning.
inline constexpr std::chrono::milliseconds HistoryHelperWait = std::chrono::seconds(10);

// Where the program finds the helper: nimbrel-cli (nimbrel-cli.exe) beside itself.
QString HistoryHelperPath(const QString& programFolder);
// A helper that runs program on the history file at historyPath; nullopt from it when the
// program is missing, cannot start, crashes, or is not done in time (it is then ended).
HistoryHelper HistoryHelperProcess(QString program, QString historyPath);

} // namespace nimbrel::gui
