#pragma once
// The message log window: the log's entries newest first, a copy to the clipboard, and Clear.
#include "log/MessageLog.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

namespace nimbrel::gui {

class TLogForm : public QDialog {
    Q_OBJECT
public:
    explicit TLogForm(TLogList& logList, QWidget* parent = nullptr);

    QTreeWidget* ListView;
    QPushButton* BtnClipboard;
    QPushButton* BtnClear;
    QPushButton* BtnOK;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Lists the log as it is now; entries added while the window is open wait for the next
    // opening, so the row the user is reading never moves.
    void FormShow();
    void BtnClipboardClick();
    void BtnClearClick();

    TLogList& logList_;
};

} // namespace nimbrel::gui
