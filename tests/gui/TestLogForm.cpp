#include "base/qt/Pictures.h"
#include "gui/DialogTesting.h"
#include "log/qt/LogForm.h"
#include "support/FakeClock.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using namespace nimbrel;
using namespace nimbrel::gui;
using namespace nimbrel::testing;

namespace {

struct Row {
    QString message, time;
    bool hasIcon;
};

std::vector<Row> Rows(const QTreeWidget* list) {
    std::vector<Row> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        rows.push_back({item->text(0), item->text(1), !item->icon(0).isNull()});
    }
    return rows;
}

} // namespace

class TestLogForm : public QObject {
    Q_OBJECT

    FakeClock clock_;
    std::unique_ptr<TLogList> log_;
    std::unique_ptr<TLogForm> form_;

    void Add(int second, int kind, const std::string& message) {
        clock_.utc = {2026, 12, 8, 14, 5, second};
        log_->AddLogMessage(kind, message);
    }

private slots:
    void initTestCase() { InitPictures(); }

    void init() {
        log_ = std::make_unique<TLogList>(clock_);
        form_ = std::make_unique<TLogForm>(*log_);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    }

    void listsNewestFirstAndCopiesOldestFirst() {
        Add(1, LogInformation, "A");
        Add(2, LogWarning, "B ^ with \"quotes\" and  spaces");
        Add(3, LogError, "C");
        WhenModal(*form_, [&] {
            const std::vector<Row> rows = Rows(form_->ListView);
            QCOMPARE(rows.size(), std::size_t(3));
            QCOMPARE(rows[0].message, QStringLiteral("C"));
            QCOMPARE(rows[1].message, QStringLiteral("B ^ with \"quotes\" and  spaces"));
            QCOMPARE(rows[2].message, QStringLiteral("A"));
            QCOMPARE(rows[0].time, QStringLiteral("14:05:03"));
            for (const Row& row : rows) {
                QVERIFY(row.hasIcon);
            }
            SaveScreenshot(*form_, QStringLiteral("log"));
            form_->BtnClipboard->click();
            form_->BtnOK->click();
        });
        QCOMPARE(form_->exec(), int(QDialog::Accepted));
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("14:05:01   A\r\n"
                                "14:05:02   B ^ with \"quotes\" and  spaces\r\n"
                                "14:05:03   C\r\n"));
    }

    void entriesAddedWhileOpenWaitForTheNextOpening() {
        Add(1, LogInformation, "first");
        WhenModal(*form_, [&] {
            Add(2, LogInformation, "second");
            QCOMPARE(form_->ListView->topLevelItemCount(), 1);
            form_->BtnOK->click();
        });
        form_->exec();
        WhenModal(*form_, [&] {
            QCOMPARE(form_->ListView->topLevelItemCount(), 2);
            QCOMPARE(form_->ListView->topLevelItem(0)->text(0), QStringLiteral("second"));
            QTest::keyClick(form_.get(), Qt::Key_Escape);
        });
        QCOMPARE(form_->exec(), int(QDialog::Rejected));
    }

    void clearEmptiesTheLogAndTheClipboardTextIsEmpty() {
        Add(1, LogError, "broken");
        WhenModal(*form_, [&] {
            form_->BtnClear->click();
            QCOMPARE(form_->ListView->topLevelItemCount(), 0);
            form_->BtnClipboard->click();
            form_->BtnOK->click();
        });
        form_->exec();
        QCOMPARE(log_->Count(), std::size_t(0));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    }
};

QTEST_MAIN(TestLogForm)
#include "TestLogForm.moc"
