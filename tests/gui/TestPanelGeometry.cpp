// The main window with the widest texts it can be given, at every desktop font size from 8 to 12
// points: every text fits its label, no two labels overlap, every tab shows whole and the window
// fits a 1280 x 800 screen. ctest runs it again at pixel ratios 1.5 and 2 (QT_SCALE_FACTOR).
#include "app/qt/MainForm.h"
#include "app/qt/QtScheduler.h"
#include "base/qt/Pictures.h"
#include "support/FakeClock.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QTabBar>
#include <QtTest>
#include <algorithm>

using namespace nimbrel;
using namespace nimbrel::gui;

namespace {

const char* const TabCaptions[] = {"Amsterdam Airport S...", "Paris Charles de Ga...",
                                   "Frankfurt am Main A...", "Hay River Airport, ...",
                                   "Washington Dulles I..."};

const PanelModel WidestPanel{
    .LabelLocationName = "Amsterdam Airport Schiphol (EHAM)",
    .LabelLocalTime = "12:59 PM",
    .LabelTime = "12:59 PM UTC  (12:59 AM local)",
    .LabelCover = "Mostly cloudy",
    .LabelPresentWeather = "Heavy Rain Thunder Stor...",
    .LabelPresentWeatherHint = "Heavy Rain Thunder Storm Hail",
    .LabelWind = "185 km/h  (variable)",
    .LabelPressure = "1013 mbar",
    .LabelTemperature = "-108 ºF",
    .LabelDewPoint = "-108 ºF",
    .LabelVisibility = "9999 metres",
    .LabelMetar = "METAR:  KIAD 121252Z 36028G45KT 1/4SM R01L/0600V1000FT +TSRAGR FG BKN008 "
                  "OVC015CB M04/M05 A2992 RMK AO...", // 94 characters of the report
    .LabelMetarHint = "",
    .AdvancedVisible = true,
    .ImageTemperature = 0,
    .LabelTemperatureInImage = "-40º",
    .ImageWindSpeed = 0,
    .LabelWindSpeedInImage = "108"};

QRect RectIn(const QWidget* widget, const QWidget* window) {
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

// The part of a label the user sees: the stacked panels scroll, clipped to their viewport.
QRect ShownRect(const QLabel* label, const TMainForm& form) {
    const QRect rect = RectIn(label, &form);
    const QWidget* viewport = form.StackedArea->viewport();
    return viewport->isAncestorOf(label) ? rect & RectIn(viewport, &form) : rect;
}

int Distance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

} // namespace

class TestPanelGeometry : public QObject {
    Q_OBJECT

    nimbrel::testing::FakeClock clock_;

private slots:
    void initTestCase() { InitPictures(); }

    void everythingFits_data() {
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("tabbed");
        for (int points = 8; points <= 12; ++points)
            for (bool tabbed : {true, false})
                QTest::addRow("%d pt, %s", points, tabbed ? "tabbed" : "stacked")
                    << points << tabbed;
    }
    void everythingFits() {
        QFETCH(int, points);
        QFETCH(bool, tabbed);
        QFont font = QApplication::font();
        font.setPointSize(points);
        QApplication::setFont(font);

        nimbrel::testing::TempFolder folder;
        nimbrel::testing::ScopedEnvironment configHome("XDG_CONFIG_HOME", folder.Path().string());
        std::string settings = "[Preferences]\nGetWeatherReportOnStartup=0\nTabbedView=";
        settings += tabbed ? "1\n" : "0\n";
        for (char slot = '2'; slot <= '5'; ++slot) // five stacked panels
            settings += std::string("LocationCode") + slot + "=X\nLocationName" + slot + "=X\n";
        nimbrel::testing::WriteFile(folder.File("Nimbrel.ini"), settings);
        QtScheduler scheduler;
        MainFormOptions options;
        options.Server = {"127.0.0.1", 21};
        options.SettingsPath = folder.File("Nimbrel.ini");
        options.ExecutablePath = "/usr/bin/nimbrel";
        options.TrayAvailable = [] { return true; };
        options.ShowMessage = [](QWidget*, QMessageBox::Icon, const QString&) {};
        TMainForm form(scheduler, clock_, std::move(options));
        for (int slot = 1; slot <= 5; ++slot) {
            form.SetTab(slot, true, TabCaptions[slot - 1]);
            form.ShowPanel(slot, WidestPanel);
            form.SetLocalTime(slot, WidestPanel.LabelLocalTime);
        }
        form.ArrangeLocationPanels(); // the window refits as at the end of every full refresh
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        const QRect screen = form.screen()->availableGeometry();
        QVERIFY2(screen.contains(form.frameGeometry()), "the window leaves the screen");
        QVERIFY(form.frameGeometry().width() <= 1280 && form.frameGeometry().height() <= 800);

        QList<QLabel*> labels;
        for (QLabel* label : form.findChildren<QLabel*>())
            if (label->isVisibleTo(&form) && !label->text().isEmpty())
                labels << label;
        for (const QLabel* label : labels) {
            const QString name = label->objectName() + " in " +
                                 label->parentWidget()->objectName() + ": " + label->text();
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                     qPrintable("text wider than its label: " + name));
            QVERIFY2(label->parentWidget()->rect().contains(label->geometry()),
                     qPrintable("label leaves its panel: " + name));
        }
        for (qsizetype a = 0; a < labels.size(); ++a)
            for (qsizetype b = a + 1; b < labels.size(); ++b)
                QVERIFY2(!ShownRect(labels[a], form).intersects(ShownRect(labels[b], form)),
                         qPrintable(labels[a]->objectName() + " overlaps " +
                                    labels[b]->objectName() + " in " +
                                    labels[a]->parentWidget()->objectName()));

        if (!tabbed)
            return;
        const QTabBar* tabs = form.PageControl->tabBar();
        for (int index = 0; index < tabs->count(); ++index) {
            const QRect tab = tabs->tabRect(index);
            QVERIFY2(tabs->rect().contains(tab) && RectIn(tabs, &form).right() < form.width(),
                     qPrintable("tab not fully visible: " + tabs->tabText(index)));
            QVERIFY(tabs->fontMetrics().horizontalAdvance(tabs->tabText(index)) < tab.width());
        }
        // The first tab stays in view when the last one is chosen: no scrolling tab bar.
        form.PageControl->setCurrentIndex(4);
        QCOMPARE(tabs->tabRect(0).left(), 0);
    }

    // What lies under a thermometer's figure is one plain colour, the figure contrasts with it,
    // and a minus sign shows.
    void thermometerFigures_data() {
        QTest::addColumn<int>("picture");
        QTest::addColumn<QString>("figure");
        for (int picture = 0; picture < 10; ++picture)
            for (const char* figure : {"-40º", "-3º"})
                QTest::addRow("%d, %s", picture, figure) << picture << QString::fromUtf8(figure);
    }
    void thermometerFigures() {
        QFETCH(int, picture);
        QFETCH(QString, figure);
        TParentWeatherInfoForm form(1);
        PanelModel panel;
        panel.ImageTemperature = picture;
        form.ShowPanel(panel);
        const QRect box = form.LabelTemperatureInImage->geometry();
        const QImage under = form.grab(box).toImage();
        panel.LabelTemperatureInImage = figure.toStdString();
        form.ShowPanel(panel);
        QCOMPARE(form.LabelTemperatureInImage->geometry(), box);
        const QImage drawn = form.grab(box).toImage();

        const QRgb ground = under.pixel(under.width() / 2, under.height() / 2);
        int strongest = 0; // how far the figure's darkest pixel stands from the ground
        int leftmost = drawn.width();
        for (int y = 0; y < under.height(); ++y)
            for (int x = 0; x < under.width(); ++x) {
                QVERIFY2(Distance(under.pixel(x, y), ground) <= 8,
                         qPrintable(QString("ground not plain at %1,%2").arg(x).arg(y)));
                strongest = std::max(strongest, qGray(ground) - qGray(drawn.pixel(x, y)));
                if (Distance(drawn.pixel(x, y), ground) > 8)
                    leftmost = std::min(leftmost, x);
            }
        QVERIFY2(strongest >= 150, qPrintable(QString("contrast %1").arg(strongest)));
        // The minus sign is the first glyph: something is drawn where the centred text starts.
        const QFontMetrics metrics = form.LabelTemperatureInImage->fontMetrics();
        const double ratio = drawn.devicePixelRatio();
        const double start = (box.width() - metrics.horizontalAdvance(figure)) / 2.0;
        QVERIFY(leftmost <= (start + metrics.horizontalAdvance(QChar('-'))) * ratio);
    }
};

QTEST_MAIN(TestPanelGeometry)
#include "TestPanelGeometry.moc"
