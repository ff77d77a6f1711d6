#include "help/qt/AboutForm.h"

#include "base/qt/FormFont.h"
#include "base/qt/Pictures.h"
#include "settings/SettingsStore.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace nimbrel::gui {

namespace {

constexpr int IconSize = 48;

QFont ProductNameFont(QFont font) {
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.6);
    return font;
}

} // namespace

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      LabelProductName(new QLabel(QString::fromUtf8(ProductName), this)),
      LabelVersion(
          new QLabel(QStringLiteral("Version ") + QString::fromUtf8(NIMBREL_VERSION), this)),
      ImageIcon(new QLabel(this)), ButtonOK(new QPushButton(tr("&OK"), this)) {
    setObjectName(QStringLiteral("AboutForm"));
    setFont(FormFont());
    setWindowTitle(QStringLiteral("About ") + QString::fromUtf8(ProductName));
    LabelProductName->setObjectName(QStringLiteral("LabelProductName"));
    LabelVersion->setObjectName(QStringLiteral("LabelVersion"));
    ImageIcon->setObjectName(QStringLiteral("ImageIcon"));
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));

    LabelProductName->setFont(ProductNameFont(font()));
    ImageIcon->setPixmap(RenderPicture(ProgramIconPath(), IconSize, devicePixelRatioF()));
    ImageIcon->setFixedSize(IconSize, IconSize);
    ButtonOK->setDefault(true);
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(LabelProductName);
    texts->addWidget(LabelVersion);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(ImageIcon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    top->addSpacing(48); // balances the icon, so the window is not squeezed round its texts
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 14);
    layout->addLayout(top);
    layout->addSpacing(16);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // not resizable
}

} // namespace nimbrel::gui
