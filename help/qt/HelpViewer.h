#pragma once
// Opens the program's help: on Windows in the HTML Help viewer, elsewhere in the desktop's web
// browser. A missing help file is shown as a warning, a viewer that fails is logged.
#include "base/qt/MessageBox.h"
#include "help/HelpLoader.h"
#include "log/MessageLog.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

namespace nimbrel::gui {

// Opens a local file's default view; false when that is impossible.
using OpenFileFunction = std::function<bool(const QString& path)>;

class THelpViewer final : private HelpActions {
public:
    // Without openFile the help opens through the platform's viewer.
    THelpViewer(QWidget* owner, TLogList& logList, MessageBoxFunction showMessage,
                OpenFileFunction openFile = {});

    // ActionHelpReadMeExecute, with the help looked for beside executableFolder.
    void ShowHelp(const std::string& executableFolder);

private:
    void ShowWarning(const std::string& text) override;
    void AddLogMessage(int kind, const std::string& message) override;
    bool OpenHelpFile(const std::string& path) override;

    QWidget* owner_;
    TLogList& logList_;
    MessageBoxFunction showMessage_;
    OpenFileFunction openFile_;
#ifdef _WIN32
    THtmlHelp htmlHelp_;
#endif
};

} // namespace nimbrel::gui
