#include "base/qt/Pictures.h"
#include "gui/DialogTesting.h"
#include "help/HelpLoader.h"
#include "help/qt/AboutForm.h"
#include "help/qt/HelpViewer.h"
#include "support/FakeClock.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace nimbrel;
using namespace nimbrel::gui;
using namespace nimbrel::testing;

class TestHelpAboutForms : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    FakeClock clock_;
    CapturedMessages boxes_;

private slots:
    void initTestCase() { InitPictures(); }

    void init() {
        boxes_.messages.clear();
        QFile::remove(QDir(folder_.path()).filePath(HelpFileName));
    }

    void viewerFailureIsLoggedNotShown() {
        WriteFile(QDir(folder_.path()).filePath(HelpFileName), "<html></html>");
        TLogList log(clock_);
        THelpViewer viewer(nullptr, log, boxes_.Function(), [](const QString&) { return false; });
        viewer.ShowHelp(folder_.path().toStdString());
        QVERIFY(boxes_.messages.empty());
        QCOMPARE(log.Count(), std::size_t(1));
        const TLogEntry entry = ParseLogLine(log.Lines().front());
        QCOMPARE(entry.Kind, int(LogError));
        QCOMPARE(entry.Message, std::string("Error on viewing help file."));
    }

    void aboutShowsNameVersionAndIcon() {
        TAboutForm form;
        QCOMPARE(form.windowTitle(), QStringLiteral("About Nimbrel"));
        QCOMPARE(form.LabelProductName->text(), QStringLiteral("Nimbrel"));
        QVERIFY(form.LabelProductName->font().bold());
        QVERIFY(form.LabelProductName->font().pointSizeF() >
                form.LabelVersion->font().pointSizeF());
        QCOMPARE(form.LabelVersion->text(), QStringLiteral("Version 1.6.0"));
        QCOMPARE(form.ImageIcon->size(), QSize(48, 48));
        QVERIFY(!form.ImageIcon->pixmap().isNull());
        QCOMPARE(form.ButtonOK->text(), QStringLiteral("&OK"));
        QVERIFY(form.ButtonOK->isDefault());
        WhenModal(form, [&] {
            SaveScreenshot(form, QStringLiteral("about"));
            QTest::keyClick(&form, Qt::Key_Escape);
        });
        QCOMPARE(form.exec(), int(QDialog::Rejected));
        WhenModal(form, [&] { form.ButtonOK->click(); });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestHelpAboutForms)
#include "TestHelpAboutForms.moc"
