#include "app/qt/Dialogs.h"

#include <QTabWidget>
#include <memory>
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
    : SelectLocationForm([this] {
          return std::make_unique<TSelectLocationForm>(executableFolder_, showMessage_, owner_);
      }),
      PreferencesForm([this] {
          return std::make_unique<TPreferencesForm>(settings_, PreferencesHaveBeenChanged,
                                                    *SelectLocationForm, owner_);
      }),
      LogForm([this] { return std::make_unique<TLogForm>(logList_, owner_); }),
      AboutForm([this] { return std::make_unique<TAboutForm>(owner_); }), HelpViewer([this] {
          return std::make_unique<THelpViewer>(owner_, logList_, showMessage_, openFile_);
      }),
      owner_(owner), settings_(settings), logList_(logList),
      executableFolder_(std::move(executableFolder)), showMessage_(std::move(showMessage)),
      openFile_(std::move(openFile)) {}

void TDialogs::ExecutePreferences(const PreferencesMainWindowSteps& steps) {
    PreferencesForm->PageControl->setCurrentIndex(0);
    PreferencesForm->exec();
    ClosingActions actions(steps, owner_, logList_, showMessage_);
    ActOnClosedPreferences(settings_, PreferencesHaveBeenChanged, actions);
}

} // namespace nimbrel::gui
