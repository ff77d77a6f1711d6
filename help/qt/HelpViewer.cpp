#include "help/qt/HelpViewer.h"

#include <QDesktopServices>
#include <QUrl>
#include <utility>

namespace nimbrel::gui {

THelpViewer::THelpViewer(QWidget* owner, TLogList& logList, MessageBoxFunction showMessage,
                         OpenFileFunction openFile)
    : owner_(owner), logList_(logList), showMessage_(std::move(showMessage)),
      openFile_(std::move(openFile)) {}

void THelpViewer::ShowHelp(const std::string& executableFolder) {
    nimbrel::ShowHelp(executableFolder, *this);
}

void THelpViewer::ShowWarning(const std::string& text) {
    showMessage_(owner_, QMessageBox::Warning, QString::fromStdString(text));
}

void THelpViewer::AddLogMessage(int kind, const std::string& message) {
    logList_.AddLogMessage(kind, message);
}

bool THelpViewer::OpenHelpFile(const std::string& path) {
    if (openFile_) {
        return openFile_(QString::fromStdString(path));
    }
#ifdef _WIN32
    return htmlHelp_.DisplayTopic(path);
#else
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
#endif
}

} // namespace nimbrel::gui
