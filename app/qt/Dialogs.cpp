#include "app/qt/Dialogs.h"

#include <QTabWidget>
#include <utility>

namespace nimbrel::gui {

namespace {

class ClosingActions final : public PreferencesClosingActions {
public:
    ClosingActions(const PreferencesMainWindowSteps& steps, QWidget* owner, TLogList& logList,
                   const MessageBoxFunction& showMessage)
        : steps_(steps), owner_(owner), logList_(logList), showMessage_(showMessage) {}

    void ShowWarning(const std::string& text) override {
        showMessage_(owner_, QMessageBox::Warning, QString::fromStdString(text));
    }
    void ArrangeLocationPanels() override { steps_.ArrangeLocationPanels(); }
    void SaveSettings() override { steps_.SaveSettings(); }
    void ShowError(const std::string& text) override {
        showMessage_(owner_, QMessageBox::Critical, QString::fromStdString(text));
    }
    void AddLogMessage(int kind, const std::string& message) override {
        logList_.AddLogMessage(kind, message);
    }
    void ResetRefreshTimer() override { steps_.ResetRefreshTimer(); }
    void StartGetWeatherReport() override { steps_.StartGetWeatherReport(); }

private:
    const PreferencesMainWindowSteps& steps_;
    QWidget* owner_;
    TLogList& logList_;
    const MessageBoxFunction& showMessage_;
};

} // namespace

TDialogs::TDialogs(QWidget* owner, TSettings& settings, TLogList& logList,
                   std::string executableFolder, MessageBoxFunction showMessage,
                   OpenFileFunction openFile)
    : SelectLocationForm(executableFolder, showMessage, owner),
      PreferencesForm(settings, PreferencesHaveBeenChanged, SelectLocationForm, owner),
      LogForm(logList, owner), AboutForm(owner),
      HelpViewer(owner, logList, showMessage, std::move(openFile)), owner_(owner),
      settings_(settings), logList_(logList), executableFolder_(std::move(executableFolder)),
      showMessage_(std::move(showMessage)) {}

void TDialogs::ExecutePreferences(const PreferencesMainWindowSteps& steps) {
    PreferencesForm.PageControl->setCurrentIndex(0);
    PreferencesForm.exec();
    ClosingActions actions(steps, owner_, logList_, showMessage_);
    ActOnClosedPreferences(settings_, PreferencesHaveBeenChanged, actions);
}

} // namespace nimbrel::gui
