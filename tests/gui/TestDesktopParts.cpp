// The desktop program's smaller parts: its command line, the single-instance guard, the tray
// icon's tip, balloon and animation, and the location panel copying what the core computed.
#include "app/DesktopRules.h"
#include "app/ParentWeatherInfo.h"
#include "app/SingleInstanceGuard.h"
#include "app/qt/CommandLine.h"
#include "app/qt/CoolTrayIcon.h"
#include "app/qt/HistoryHelperProcess.h"
#include "app/qt/ParentWeatherInfoForm.h"
#include "app/qt/ProgramStyle.h"
#include "app/qt/QtScheduler.h"
#include "app/qt/TerminationRequest.h"
#include "base/qt/FormFont.h"
#include "base/qt/MessageBox.h"
#include "base/qt/Pictures.h"
#include "history/HistoryDatabase.h"
#include "support/TempFolder.h"

#include <QPixmapCache>
#include <QtTest>
#include <cstring>
#include <string>

using namespace nimbrel;
using namespace nimbrel::gui;

Q_DECLARE_METATYPE(CommandLine::Action)

namespace {

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

} // namespace

class TestDesktopParts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InitPictures(); }

    void commandLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<CommandLine::Action>("action");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        using A = CommandLine::Action;
        QTest::newRow("no options") << QStringList{} << A::Run << "tgftp.nws.noaa.gov" << 21;
        QTest::newRow("host and port")
            << QStringList{"--server", "127.0.0.1:2121"} << A::Run << "127.0.0.1" << 2121;
        QTest::newRow("host alone keeps port 21")
            << QStringList{"--server=ftp.example.org"} << A::Run << "ftp.example.org" << 21;
        QTest::newRow("help wins") << QStringList{"--server", "h", "--help"} << A::Help << "" << 0;
        QTest::newRow("short help") << QStringList{"-h"} << A::Help << "" << 0;
        QTest::newRow("version") << QStringList{"--version"} << A::Version << "" << 0;
        QTest::newRow("missing value") << QStringList{"--server"} << A::Error << "" << 0;
        QTest::newRow("empty host") << QStringList{"--server", ":21"} << A::Error << "" << 0;
        QTest::newRow("port 0") << QStringList{"--server", "h:0"} << A::Error << "" << 0;
        QTest::newRow("port too large")
            << QStringList{"--server", "h:65536"} << A::Error << "" << 0;
        QTest::newRow("port not a number")
            << QStringList{"--server", "h:21x"} << A::Error << "" << 0;
        QTest::newRow("unknown option") << QStringList{"--minimized"} << A::Error << "" << 0;
        QTest::newRow("stray argument") << QStringList{"EHAM"} << A::Error << "" << 0;
    }
    void commandLine() {
        QFETCH(QStringList, args);
        QFETCH(CommandLine::Action, action);
        std::vector<std::string> arguments;
        for (const QString& arg : args)
            arguments.push_back(arg.toStdString());
        const CommandLine parsed = ParseCommandLine(arguments);
        QCOMPARE(parsed.action, action);
        QCOMPARE(parsed.error.empty(), action != CommandLine::Action::Error);
        if (action != CommandLine::Action::Run)
            return;
        QTEST(QString::fromStdString(parsed.server.Host), "host");
        QTEST(int(parsed.server.PortFor(false)), "port");
    }

    void singleInstance() {
        nimbrel::testing::TempFolder folder;
        const std::string lockFolder = folder.Path().string();
        auto first = std::make_unique<SingleInstanceGuard>("nimbrel", lockFolder);
        QVERIFY(first->IsFirstInstance());
        QVERIFY(!SingleInstanceGuard("nimbrel", lockFolder).IsFirstInstance());
        // A copy under another file name is not detected.
        QVERIFY(SingleInstanceGuard("nimbrel-copy", lockFolder).IsFirstInstance());
        first.reset();
        QVERIFY(SingleInstanceGuard("nimbrel", lockFolder).IsFirstInstance());
    }

    void trayTip_data() {
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("tip");
        const std::string line = Repeat("x", 150);
        QTest::newRow("short hint whole") << "Amsterdam\r\nTemperature: 12 ºC"
                                          << "Amsterdam\nTemperature: 12 ºC";
        // The core cuts the hint (TrayTip); the icon must not cut it a second time.
        QTest::newRow("long hint shown as given")
            << QString::fromStdString(line) << QString::fromStdString(line);
        QTest::newRow("multi-byte characters")
            << QString::fromStdString(Repeat("º", 130)) << QString::fromStdString(Repeat("º", 130));
        QTest::newRow("markup stays text") << "<b>EHAM</b>"
                                           << "<b>EHAM</b>";
    }
    void trayTip() {
        QFETCH(QString, hint);
        QMenu menu;
        TCoolTrayIcon tray(&menu);
        tray.SetHint(hint.toStdString());
        QTEST(tray.Tip(), "tip");
        QCOMPARE(tray.Hint(), hint.toStdString());
    }

    void balloonShowsWhatItIsGivenAndRestarts() {
        QMenu menu;
        TCoolTrayIcon tray(&menu);
        QtScheduler scheduler;
        TBalloonHint balloon(tray, scheduler.CreateTimer(true));
        const std::string title = Repeat("t", 70);
        const std::string text = Repeat("w", 300);
        balloon.ShowBalloon(title, text, TCoolTrayIcon::BalloonKind::Information);
        // The core cuts title and text; the icon shows them as given.
        QCOMPARE(tray.BalloonTitleShown(), QString::fromStdString(title));
        QCOMPARE(tray.BalloonTextShown(), QString::fromStdString(text));
        QVERIFY(balloon.HideTimerActive());
        balloon.ShowBalloon("Second", "", TCoolTrayIcon::BalloonKind::Information);
        QCOMPARE(tray.BalloonTitleShown(), QString("Second"));
        tray.HideBalloonTip();
        QVERIFY(tray.BalloonTitleShown().isEmpty());
    }

    // The session manager's order to quit ends the program as File, Exit does.
    void quitRequestEndsTheSession() {
        int requests = 0;
        const TerminationRequest termination([&requests] { ++requests; });
        QEvent quit(QEvent::Quit);
        QVERIFY(QCoreApplication::sendEvent(qApp, &quit));
        QCOMPARE(requests, 1);
    }

    void animationCyclesAndStops() {
        QMenu menu;
        TCoolTrayIcon tray(&menu);
        tray.SetCycleIcons(true);
        QCOMPARE(tray.IconIndex(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(tray.IconIndex(), 1, 10000);
        tray.SetCycleIcons(false);
        // A stopped animation has no timer left to move it on.
        QVERIFY(!tray.CycleIcons());
        // Starting again shows the first frame at once.
        tray.SetCycleIcons(true);
        QCOMPARE(tray.IconIndex(), 0);
    }

    void panelCopiesTheModel() {
        TParentWeatherInfoForm form(1);
        PanelModel panel = InitialPanel();
        panel.LabelLocationName = "Amsterdam Airport Schiphol (EHAM)";
        panel.LabelTime = "12:25 UTC  (14:25 local)";
        panel.LabelTimeRed = true;
        panel.LabelCover = "Mostly clear";
        panel.LabelMetarHint = "<i>EHAM</i>";
        panel.LabelMetar = "METAR:  <i>EHAM</i>";
        panel.LabelTemperatureInImage = "12º";
        panel.ImageTemperature = 5;
        panel.AdvancedVisible = true;
        form.ShowPanel(panel);
        QCOMPARE(form.LabelLocationName->text(), QString("Amsterdam Airport Schiphol (EHAM)"));
        QCOMPARE(form.LabelTime->palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(form.LabelCover->text(), QString("Mostly clear"));
        QCOMPARE(form.LabelTemperatureInImage->text(), QString("12º"));
        QCOMPARE(form.ImageTemperature->Picture(),
                 QString(":/pictures/temperature/temperature-05.svg"));
        QCOMPARE(form.LabelMetar->textFormat(), Qt::PlainText);
        QVERIFY(form.LabelMetar->toolTip().contains("&lt;i&gt;EHAM"));
        QVERIFY(form.LabelMetar->isVisibleTo(&form));

        // Without the advanced report its controls are hidden and keep their texts.
        panel.AdvancedVisible = false;
        panel.LabelMetar = "METAR:  changed";
        panel.LabelTimeRed = false;
        form.ShowPanel(panel);
        QVERIFY(!form.LabelMetar->isVisibleTo(&form));
        QCOMPARE(form.LabelMetar->text(), QString("METAR:  <i>EHAM</i>"));
        QCOMPARE(form.LabelTime->palette().color(QPalette::WindowText),
                 form.palette().color(QPalette::WindowText));
    }

    void clockKeepsItsRightEdge() {
        TParentWeatherInfoForm form(2);
        form.SetLocalTime("7:05 AM");
        const int right = form.LabelLocalTime->geometry().right();
        form.SetLocalTime("12:59 PM");
        QCOMPARE(form.LabelLocalTime->geometry().right(), right);
        QCOMPARE(form.LabelLocalTime->text(), QString("12:59 PM"));
    }

    void valuesNeverRunIntoTheirCaptions() {
        TParentWeatherInfoForm form(1);
        for (const auto& [caption, value] :
             {std::pair{form.LeftLabelPresentWeather, form.LabelPresentWeather},
              std::pair{form.LeftLabelTemperature, form.LabelTemperature}}) {
            QVERIFY(caption->geometry().right() < value->x());
            const int column = caption == form.LeftLabelPresentWeather ? 320 : 572;
            QVERIFY(value->x() >= form.Scale().X(column));
        }
    }

    // The welcome breaks its own lines; the box shows each of them on one line.
    void messageBoxKeepsItsLineBreaks() {
        const QString text = PlainText(WelcomeText());
        int labelWidth = 0;
        QTimer::singleShot(0, [&labelWidth] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            labelWidth = box->findChild<QLabel*>("qt_msgbox_label")->width();
            box->accept();
        });
        ShowMessageBox(nullptr, QMessageBox::Information, text);
        const QFontMetrics metrics(QApplication::font("QMessageBox"));
        for (const QString& line : text.split('\n'))
            QVERIFY2(metrics.horizontalAdvance(line) <= labelWidth, qPrintable(line));
    }

    void picturesAreCompiledIn() {
        for (const auto& [list, count] :
             {std::pair{PictureList::Weather, 27}, std::pair{PictureList::Temperature, 11},
              std::pair{PictureList::Wind, 19}, std::pair{PictureList::Tray, 4},
              std::pair{PictureList::Menu, 8}}) {
            for (int index = 0; index < count; ++index)
                QVERIFY2(QFile::exists(PicturePath(list, index)),
                         qPrintable(PicturePath(list, index)));
        }
        QVERIFY(QFile::exists(ProgramIconPath()));
        const QPixmap pixmap = RenderPicture(PicturePath(PictureList::Weather, 4), 16, 2.0);
        QCOMPARE(pixmap.size(), QSize(32, 32));
        QCOMPARE(pixmap.devicePixelRatio(), 2.0);
    }

    // A drawing is kept in the user's cache folder, and a later start shows what was kept.
    void picturesAreKeptForLaterStarts() {
        const nimbrel::testing::TempFolder folder;
        const nimbrel::testing::ScopedEnvironment cache("XDG_CACHE_HOME", folder.File("cache"));
        const auto draw = [] {
            QPixmapCache::clear(); // a later start: nothing in memory
            return RenderPicture(PicturePath(PictureList::Weather, 4), 24, 1.0).toImage();
        };
        draw();
        QDirIterator kept(QString::fromStdString(folder.File("cache")), {"*.argb"}, QDir::Files,
                          QDirIterator::Subdirectories);
        QVERIFY(kept.hasNext());
        const std::string file = kept.next().toStdString();
        std::string red = nimbrel::testing::ReadFile(file);
        const quint32 pixel = 0xFFFF0000;
        for (std::size_t at = 12; at + sizeof pixel <= red.size(); at += sizeof pixel)
            std::memcpy(red.data() + at, &pixel, sizeof pixel);
        nimbrel::testing::WriteFile(file, red);
        QCOMPARE(draw().pixel(12, 12), pixel);
    }

    // The chevrons are Qt's own pictures, read by a path Qt may move: they must still be there.
    // So are the message pictures where the desktop names no icon theme, and the desktop's
    // settings are followed again after they are read.
    void styleServesQtsOwnPictures() {
        const ProgramStyle style(QApplication::style()->name());
        for (const auto which : {QStyle::SP_ToolBarHorizontalExtensionButton,
                                 QStyle::SP_ToolBarVerticalExtensionButton})
            QVERIFY(!style.standardIcon(which, nullptr, nullptr).pixmap(16).isNull());
        const QString theme = QIcon::themeName();
        QIcon::setThemeName(QStringLiteral("hicolor"));
        for (const auto which : {QStyle::SP_MessageBoxInformation, QStyle::SP_MessageBoxWarning,
                                 QStyle::SP_MessageBoxCritical, QStyle::SP_MessageBoxQuestion})
            QVERIFY(!style.standardIcon(which, nullptr, nullptr).pixmap(32).isNull());
        QVERIFY(QGuiApplication::desktopSettingsAware());
        QIcon::setThemeName(theme);
    }

    // The real helper: what it keeps is in the file; what it cannot take is the program's to keep.
    void historyHelperKeepsTheRunInTheFile() {
        const nimbrel::testing::TempFolder folder;
        const QString path = QString::fromStdString(folder.File("history.sqlite3"));
        const std::string run = nimbrel::HistoryRunText(
            {{"EHAM", "2026/12/01 05:50\nEHAM 010550Z 24010KT 12/08 Q1013\n"}});
        const auto helper = HistoryHelperProcess(QStringLiteral(NIMBREL_CLI_PATH), path);
        const auto outcome = helper(run);
        QVERIFY(outcome && outcome->Stored && outcome->Warnings.empty());
        const nimbrel::THistoryDatabase db(path.toStdString(),
                                           nimbrel::THistoryDatabase::Mode::ReadOnly);
        QCOMPARE(db.Load("EHAM", 0).size(), std::size_t{1});
        QVERIFY(!helper("EHAM 99\ncut short"));
        const QString nowhere = QString::fromStdString(folder.File("nowhere"));
        QVERIFY(!HistoryHelperProcess(HistoryHelperPath(nowhere), path)(run));
    }
};

QTEST_MAIN(TestDesktopParts)
#include "TestDesktopParts.moc"
