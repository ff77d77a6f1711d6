#include "base/qt/Pictures.h"
#include "gui/DialogTesting.h"
#include "settings/IniFile.h"
#include "settings/qt/SelectLocationForm.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>

using namespace nimbrel;
using namespace nimbrel::gui;
using namespace nimbrel::testing;

namespace {

QStringList Entries(const QComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) {
        entries.append(list->itemText(i));
    }
    return entries;
}

// Picks an entry as the user does, which is what counts as a choice.
void Choose(QComboBox* list, const QString& text) {
    const int index = list->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    list->setCurrentIndex(index);
    emit list->activated(index);
}

// The country list is read while the dialog opens.
std::function<bool()> Loaded(const TSelectLocationForm& form) {
    return [&form] { return form.ComboBoxCountries->count() == 4; };
}

} // namespace

class TestSelectLocationForm : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    CapturedMessages boxes_;

    std::unique_ptr<TSelectLocationForm> NewForm() {
        return std::make_unique<TSelectLocationForm>(folder_.path().toStdString(),
                                                     boxes_.Function());
    }

private slots:
    void initTestCase() { InitPictures(); }

    void init() {
        boxes_.messages.clear();
        WriteStationDatabase(folder_.path());
    }

    void listsCountriesInFileOrderWithNothingChosen() {
        auto form = NewForm();
        WhenModal(
            *form,
            [&] {
                QCOMPARE(Entries(form->ComboBoxCountries),
                         QStringList({"Netherlands", "United States", "Japan", "Atlantis"}));
                QCOMPARE(form->ComboBoxCountries->currentIndex(), -1);
                QCOMPARE(form->ComboBoxCities->count(), 0);
                QCOMPARE(form->windowTitle(), QStringLiteral("Select Location"));
                SaveScreenshot(*form, QStringLiteral("select-location"));
                form->ButtonCancel->click();
            },
            Loaded(*form));
        QCOMPARE(form->exec(), int(QDialog::Rejected));
    }

    void countryGivesOffsetAndCityGivesCodeAndName() {
        auto form = NewForm();
        WhenModal(
            *form,
            [&] {
                Choose(form->ComboBoxCountries, "United States");
                QCOMPARE(Entries(form->ComboBoxCities),
                         QStringList({"New York John F. Kennedy", "Boston Logan", "Boise"}));
                QCOMPARE(form->ComboBoxCities->currentIndex(), -1);
                QCOMPARE(form->LocationTimeZoneOffset(), std::string("-5"));
                QCOMPARE(form->LocationCode(), std::string());
                Choose(form->ComboBoxCities, "Boston Logan");
                SaveScreenshot(*form, QStringLiteral("select-location-chosen"));
                form->ButtonOK->click();
            },
            Loaded(*form));
        QCOMPARE(form->exec(), int(QDialog::Accepted));
        QCOMPARE(form->LocationCode(), std::string("KBOS"));
        QCOMPARE(form->LocationName(), std::string("Boston Logan"));
        QCOMPARE(form->LocationTimeZoneOffset(), std::string("-5"));
    }

    void laterCountryChangesOnlyTheOffset() {
        auto form = NewForm();
        WhenModal(
            *form,
            [&] {
                Choose(form->ComboBoxCountries, "Netherlands");
                Choose(form->ComboBoxCities, "Rotterdam");
                Choose(form->ComboBoxCountries, "Japan");
                QCOMPARE(Entries(form->ComboBoxCities), QStringList({"Tokyo Haneda"}));
                form->ButtonOK->click();
            },
            Loaded(*form));
        form->exec();
        QCOMPARE(form->LocationCode(), std::string("EHRD"));
        QCOMPARE(form->LocationName(), std::string("Rotterdam"));
        QCOMPARE(form->LocationTimeZoneOffset(), std::string("9"));
    }

    void resultIsKeptBetweenOpenings() {
        auto form = NewForm();
        WhenModal(
            *form, [&] { form->ButtonOK->click(); }, Loaded(*form));
        form->exec();
        QCOMPARE(form->Result().LocationCode, std::string());
        QCOMPARE(form->Result().LocationName, std::string());
        QCOMPARE(form->Result().LocationTimeZoneOffset, std::string());

        WhenModal(
            *form,
            [&] {
                Choose(form->ComboBoxCountries, "Netherlands");
                Choose(form->ComboBoxCities, "Amsterdam Airport Schiphol");
                form->ButtonOK->click();
            },
            Loaded(*form));
        form->exec();
        WhenModal(
            *form,
            [&] {
                QCOMPARE(form->ComboBoxCountries->currentIndex(), -1); // lists start afresh
                form->ButtonOK->click();
            },
            Loaded(*form));
        QCOMPARE(form->exec(), int(QDialog::Accepted));
        QCOMPARE(form->LocationCode(), std::string("EHAM"));
        QCOMPARE(form->LocationTimeZoneOffset(), std::string("1"));
    }

    void missingDatabaseWarnsAndCancels() {
        QVERIFY(QFile::remove(QDir(folder_.path()).filePath("Cities.ini")));
        auto form = NewForm();
        QCOMPARE(form->exec(), int(QDialog::Rejected));
        QCOMPARE(boxes_.messages.size(), std::size_t(1));
        QCOMPARE(boxes_.messages[0].icon, QMessageBox::Warning);
        QCOMPARE(boxes_.messages[0].text,
                 QStringLiteral("The country and city database could not be found.\r\n"
                                "Reinstalling the program might solve this problem."));
        QVERIFY(!form->isVisible());
    }

    void unusableDatabaseIsExplainedInTheDialog_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("reason");
        const struct {
            const char *row, *file, *damage, *reason;
        } rows[] = {{"oversized countries", "Countries.ini", "oversized", "larger than"},
                    {"garbage countries", "Countries.ini", "garbage", "lists no countries"},
                    {"oversized cities", "Cities.ini", "oversized", "larger than"},
                    {"cities became a folder", "Cities.ini", "folder", "Unable to read"},
                    {"garbage cities", "Cities.ini", "garbage", "lists no stations"}};
        for (const auto& r : rows)
            QTest::newRow(r.row) << QString(r.file) << QString(r.damage) << QString(r.reason);
    }
    void unusableDatabaseIsExplainedInTheDialog() {
        QFETCH(QString, file);
        QFETCH(QString, damage);
        QFETCH(QString, reason);
        const std::filesystem::path path = QDir(folder_.path()).filePath(file).toStdString();
        const auto spoil = [&] {
            std::filesystem::remove_all(path);
            if (damage == "folder") {
                std::filesystem::create_directories(path / "inside");
                return;
            }
            WriteFile(QString::fromStdString(path.string()), "\x01garbage\n=;\n[");
            if (damage == "oversized")
                std::filesystem::resize_file(path, TIniFile::MaxFileSize + 1);
        };
        if (damage != "folder")
            spoil();
        auto form = NewForm();
        WhenModal(
            *form,
            [&] {
                if (file == "Cities.ini") {
                    if (damage == "folder")
                        spoil(); // the dialog found the file when it opened
                    Choose(form->ComboBoxCountries, "Netherlands");
                }
                QVERIFY(form->LabelDatabaseProblem->isVisible());
                const QString text = form->LabelDatabaseProblem->text();
                QVERIFY2(text.contains(QString::fromStdString(path.string())), qPrintable(text));
                QVERIFY2(text.contains(reason), qPrintable(text));
                form->ButtonOK->click(); // the dialog is still in working order
            },
            [&] {
                return form->ComboBoxCountries->count() > 0 ||
                       form->LabelDatabaseProblem->isVisible();
            });
        const int result = form->exec();
        std::filesystem::remove_all(path); // the next test writes its own database
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(boxes_.messages.empty());
    }

    void typingOffersTheMatchingEntriesInFileOrder() {
        auto form = NewForm();
        WhenModal(
            *form,
            [&] {
                Choose(form->ComboBoxCountries, "United States");
                QComboBox* cities = form->ComboBoxCities;
                form->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(form.get()));
                cities->setFocus();
                QTest::keyClicks(cities->lineEdit(), "bo");
                QCompleter* completer = cities->completer();
                QCOMPARE(completer->completionCount(), 2); // Boston Logan, Boise; not sorted
                completer->setCurrentRow(1);
                QCOMPARE(completer->currentCompletion(), QStringLiteral("Boise"));
                // Typed text alone is not a choice.
                QCOMPARE(form->LocationCode(), std::string());
                emit completer->activated(completer->currentIndex());
                QCOMPARE(form->LocationCode(), std::string("KBOI"));
                QTest::keyClicks(cities->lineEdit(), "zzz");
                form->ButtonOK->setFocus(); // leaving the list drops the untaken text
                QCOMPARE(cities->currentText(), QStringLiteral("Boise"));
                form->ButtonOK->click();
            },
            Loaded(*form));
        form->exec();
        QCOMPARE(form->LocationCode(), std::string("KBOI"));
        QCOMPARE(form->LocationName(), std::string("Boise"));
    }
};

QTEST_MAIN(TestSelectLocationForm)
#include "TestSelectLocationForm.moc"
