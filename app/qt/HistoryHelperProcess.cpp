#include "app/qt/HistoryHelperProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace nimbrel::gui {

namespace {

// The helper writes a warning or two; anything beyond is not its.
constexpr qint64 MaxHelperOutputBytes = 64 * 1024;

int Milliseconds(std::chrono::milliseconds wait) {
    return static_cast<int>(wait.count());
}

std::vector<std::string> Lines(const QByteArray& output) {
    std::vector<std::string> lines;
    for (const QByteArray& line : output.left(MaxHelperOutputBytes).split('\n'))
        if (!line.trimmed().isEmpty())
            lines.push_back(line.trimmed().toStdString());
    return lines;
}

std::optional<HistoryHelperOutcome> RunHelper(const QString& program, const QString& historyPath,
                                              const std::string& runText) {
    if (!QFileInfo(program).isExecutable())
        return std::nullopt;
    QProcess process;
    process.setProgram(program);
    process.setArguments({QStringLiteral("history-store"), QStringLiteral("--file"), historyPath});
    process.setStandardErrorFile(QProcess::nullDevice());
#ifdef Q_OS_WIN
    // A console program: without this, every refresh would flash a console window.
    process.setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments* arguments) { arguments->flags |= CREATE_NO_WINDOW; });
#endif
    process.start(QIODevice::ReadWrite);
    if (!process.waitForStarted(Milliseconds(HistoryHelperWait)))
        return std::nullopt;
    process.write(runText.data(), static_cast<qint64>(runText.size()));
    process.closeWriteChannel();
    if (!process.waitForFinished(Milliseconds(HistoryHelperWait))) {
        process.kill();
        process.waitForFinished(Milliseconds(HistoryHelperWait));
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    const int code = process.exitCode();
    if (code != HistoryHelperStored && code != HistoryHelperNotStored)
        return std::nullopt;
    // What is there, not the bound: a read of the bound would reserve all of it.
    const qint64 available = std::min(process.bytesAvailable(), MaxHelperOutputBytes);
    return HistoryHelperOutcome{code == HistoryHelperStored, Lines(process.read(available))};
}

} // namespace

QString HistoryHelperPath(const QString& programFolder) {
#ifdef Q_OS_WIN
    return QDir(programFolder).filePath(QStringLiteral("nimbrel-cli.exe"));
#else
    return QDir(programFolder).filePath(QStringLiteral("nimbrel-cli"));
#endif
}

HistoryHelper HistoryHelperProcess(QString program, QString historyPath) {
    return [program = std::move(program), historyPath = std::move(historyPath)](
               const std::string& runText) { return RunHelper(program, historyPath, runText); };
}

} // namespace nimbrel::gui
