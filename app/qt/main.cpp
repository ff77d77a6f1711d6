// The desktop program: one copy per user, the main window, the message loop, and the orderly
// shutdown after File, Exit (or a request from the session to end).
#include "app/DesktopRules.h"
#include "app/SingleInstanceGuard.h"
#include "app/qt/CommandLine.h"
#include "app/qt/HistoryHelperProcess.h"
#include "app/qt/MainForm.h"
#include "app/qt/ProgramStyle.h"
#include "app/qt/QtScheduler.h"
#include "app/qt/TerminationRequest.h"
#include "base/Clock.h"
#include "base/ProcessEnd.h"
#include "base/Product.h"
#include "base/qt/MessageBox.h"
#include "base/qt/Pictures.h"
#include "history/History.h"
#include "retrieval/HttpsModule.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyle>
#include <QSystemTrayIcon>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using nimbrel::gui::CommandLine;

// --help, --version and bad usage are answered without touching the display.
int AnswerWithoutWindow(const CommandLine& commandLine) {
    switch (commandLine.action) {
    case CommandLine::Action::Help:
        std::fputs(nimbrel::gui::UsageText().c_str(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::fputs(nimbrel::gui::VersionText().c_str(), stdout);
        return 0;
    case CommandLine::Action::Error:
        std::fprintf(stderr, "nimbrel: %s\n%s", commandLine.error.c_str(),
                     nimbrel::gui::UsageText().c_str());
        return 2;
    case CommandLine::Action::Run:
        break;
    }
    return -1;
}

std::string CaFile() {
    const char* path = std::getenv(nimbrel::CaFileVariable);
    return path ? path : "";
}

std::string DebugStatePath() {
    const char* path = std::getenv("NIMBREL_DEBUG_STATE");
    return path ? path : "";
}

// The program's life from the guard to the saved settings, on the given scheduler.
int RunDesktop(int argc, char** argv, const CommandLine& commandLine,
               nimbrel::gui::QtScheduler& scheduler) {
    QApplication application(argc, argv);
    const QString executable = QApplication::applicationFilePath();
    const nimbrel::SingleInstanceGuard guard(QFileInfo(executable).fileName().toStdString());
    if (!guard.IsFirstInstance()) {
        nimbrel::gui::ShowMessageBox(nullptr, QMessageBox::Information,
                                     QString::fromUtf8(nimbrel::AlreadyRunningText));
        return 0;
    }
    QApplication::setApplicationName(QString::fromUtf8(nimbrel::ProductName));
    // Lets Wayland compositors and task bars match the window to the installed launcher.
    QGuiApplication::setDesktopFileName(QString::fromUtf8(nimbrel::ApplicationId));
    // Closing the window hides it; only File, Exit ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    // QApplication owns the style it is given.
    QApplication::setStyle(new nimbrel::gui::ProgramStyle(QApplication::style()->name()));
    nimbrel::gui::InitPictures();

    const nimbrel::SystemClock clock;
    nimbrel::gui::MainFormOptions options;
    options.Server = commandLine.server;
    options.Server.CaFile = CaFile();
    options.SettingsPath = nimbrel::SettingsFilePath();
    options.ExecutablePath = executable.toStdString();
    options.DebugStatePath = DebugStatePath();
    options.HistoryPath = nimbrel::DefaultHistoryPath();
    options.StoreHistoryThrough = nimbrel::gui::HistoryHelperProcess(
        nimbrel::gui::HistoryHelperPath(QApplication::applicationDirPath()),
        QString::fromStdString(options.HistoryPath));
    nimbrel::gui::TMainForm mainForm(scheduler, clock, std::move(options));
    // A session that ends the program (logout, shutdown, kill) gets the same exit as File, Exit.
    const nimbrel::gui::TerminationRequest termination([&mainForm] { mainForm.EndSession(); });
    if (mainForm.ShowOnStart())
        mainForm.show();
    const int code = QApplication::exec();
    mainForm.FormDestroy();
    return code;
}

} // namespace

int main(int argc, char** argv) {
    const CommandLine commandLine =
        nimbrel::gui::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (const int code = AnswerWithoutWindow(commandLine); code >= 0)
        return code;
    std::weak_ptr<const void> lastUse;
    int code = 0;
    {
        nimbrel::gui::QtScheduler scheduler;
        lastUse = scheduler.Lifetime();
        code = RunDesktop(argc, argv, commandLine, scheduler);
    }
    // Shutdown never waits for a fetch in the network: its worker may still be unwinding, and
    // the settings are saved by now.
    nimbrel::LetThreadsGoOrEnd(code, lastUse);
    return code;
}
