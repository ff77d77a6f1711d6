#include "log/qt/LogForm.h"

#include "base/qt/FormFont.h"
#include "base/qt/Pictures.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace nimbrel::gui {

namespace {

constexpr int MessagesColumnWidth = 470;
constexpr int TimeColumnWidth = 80;

// Only the three kinds have pictures; any other index shows none.
QIcon KindIcon(int imageIndex) {
    if (imageIndex < LogInformation || imageIndex > LogError) {
        return {};
    }
    return PictureIcon(PicturePath(PictureList::Menu, imageIndex));
}

} // namespace

TLogForm::TLogForm(TLogList& logList, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      ListView(new QTreeWidget(this)), BtnClipboard(new QPushButton(tr("Clipboard"), this)),
      BtnClear(new QPushButton(tr("Clear"), this)), BtnOK(new QPushButton(tr("Close"), this)),
      logList_(logList) {
    setObjectName(QStringLiteral("LogForm"));
    setFont(FormFont());
    setWindowTitle(tr("Log Messages"));
    resize(591, 279);
    ListView->setObjectName(QStringLiteral("ListView"));
    BtnClipboard->setObjectName(QStringLiteral("BtnClipboard"));
    BtnClear->setObjectName(QStringLiteral("BtnClear"));
    BtnOK->setObjectName(QStringLiteral("BtnOK"));

    ListView->setHeaderLabels({tr("Messages"), tr("Time")});
    ListView->setColumnWidth(0, MessagesColumnWidth);
    ListView->setColumnWidth(1, TimeColumnWidth);
    ListView->setRootIsDecorated(false);
    ListView->setUniformRowHeights(true);
    ListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView->header()->setStretchLastSection(true);
    // Escape closes the window, so no button takes Enter from the list either.
    for (QPushButton* button : {BtnClipboard, BtnClear, BtnOK}) {
        button->setAutoDefault(false);
    }

    connect(BtnClipboard, &QPushButton::clicked, this, &TLogForm::BtnClipboardClick);
    connect(BtnClear, &QPushButton::clicked, this, &TLogForm::BtnClearClick);
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnClipboard);
    buttons->addWidget(BtnClear);
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ListView, 1);
    layout->addLayout(buttons);
}

void TLogForm::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TLogForm::FormShow() {
    ListView->clear();
    QList<QTreeWidgetItem*> items;
    for (const TLogRow& row : LogWindowRows(logList_.Lines())) {
        auto* item = new QTreeWidgetItem({PlainText(row.Message), PlainText(row.Time)});
        item->setIcon(0, KindIcon(row.ImageIndex));
        items.append(item);
    }
    // One insertion keeps even a very long log quick to show, with no events run in between.
    ListView->addTopLevelItems(items);
}

void TLogForm::BtnClipboardClick() {
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(LogClipboardText(logList_.Lines())));
}

void TLogForm::BtnClearClick() {
    logList_.Clear();
    ListView->clear();
}

} // namespace nimbrel::gui
