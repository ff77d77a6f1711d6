#pragma once
// The About window: product name, version and the program's icon.
#include <QDialog>

class QLabel;
class QPushButton;

namespace nimbrel::gui {

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);

    QLabel* LabelProductName;
    QLabel* LabelVersion;
    QLabel* ImageIcon;
    QPushButton* ButtonOK;
};

} // namespace nimbrel::gui
