#include "settings/qt/SelectLocationForm.h"

#include "base/qt/FormFont.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <filesystem>
#include <utility>

namespace nimbrel::gui {

namespace {

constexpr int VisibleCountries = 26;
constexpr int ListWidth = 300;

void ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

// Thousands of stations are easier found by typing part of a name than by scrolling: the list
// can be typed into, and the typed text offers the entries that contain it. Only an entry picked
// from the list or its suggestions counts as a choice.
void MakeSearchable(QComboBox* list) {
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    auto* completer = new QCompleter(list->model(), list);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setFilterMode(Qt::MatchContains);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setMaxVisibleItems(list->maxVisibleItems());
    list->setCompleter(completer);
    // Typed text that was not taken gives way to the entry that is chosen.
    QObject::connect(list->lineEdit(), &QLineEdit::editingFinished, list,
                     [list] { list->lineEdit()->setText(list->itemText(list->currentIndex())); });
}

// A list of names, none chosen.
void FillList(QComboBox* list, QStringList names) {
    list->clear();
    list->addItems(names);
    list->setCurrentIndex(-1);
}

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

TSelectLocationForm::TSelectLocationForm(std::string executableFolder,
                                         MessageBoxFunction showMessage, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      ComboBoxCountries(new QComboBox(this)), ComboBoxCities(new QComboBox(this)),
      LabelDatabaseProblem(new QLabel(this)), ButtonOK(new QPushButton(tr("&OK"), this)),
      ButtonCancel(new QPushButton(tr("&Cancel"), this)),
      executableFolder_(std::move(executableFolder)), showMessage_(std::move(showMessage)) {
    setObjectName(QStringLiteral("SelectLocationForm"));
    setFont(FormFont());
    setWindowTitle(tr("Select Location"));
    ComboBoxCountries->setObjectName(QStringLiteral("ComboBoxCountries"));
    ComboBoxCities->setObjectName(QStringLiteral("ComboBoxCities"));
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    LabelDatabaseProblem->setObjectName(QStringLiteral("LabelDatabaseProblem"));
    LabelDatabaseProblem->setWordWrap(true);
    LabelDatabaseProblem->setTextFormat(Qt::PlainText);
    LabelDatabaseProblem->setMaximumWidth(ListWidth);
    LabelDatabaseProblem->hide();

    for (QComboBox* list : {ComboBoxCountries, ComboBoxCities}) {
        list->setMaxVisibleItems(VisibleCountries);
        list->setMinimumWidth(ListWidth);
        MakeSearchable(list);
    }
    ButtonOK->setDefault(true);
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ComboBoxCountries, &QComboBox::activated, this,
            &TSelectLocationForm::ComboBoxCountriesSelect);
    connect(ComboBoxCities, &QComboBox::activated, this,
            &TSelectLocationForm::ComboBoxCitiesSelect);

    auto* countryLabel = new QLabel(tr("Country:"), this);
    countryLabel->setBuddy(ComboBoxCountries);
    auto* cityLabel = new QLabel(tr("City:"), this);
    cityLabel->setBuddy(ComboBoxCities);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(countryLabel);
    layout->addWidget(ComboBoxCountries);
    layout->addSpacing(6);
    layout->addWidget(cityLabel);
    layout->addWidget(ComboBoxCities);
    layout->addWidget(LabelDatabaseProblem);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // not resizable
}

void TSelectLocationForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TSelectLocationForm::FormShow() {
    countries_.clear();
    cities_.clear();
    FillList(ComboBoxCountries, {});
    FillList(ComboBoxCities, {});
    const std::optional<std::string> folder = FindDatabaseFolder(executableFolder_);
    if (!folder) {
        CancelForMissingDatabase();
        return;
    }
    const std::filesystem::path databaseFolder(*folder);
    citiesPath_ = (databaseFolder / CitiesFileName).string();
    zones_ = ReadStationZones(*folder);
    TDatabaseList<TCountry> countries =
        LoadCountryList((databaseFolder / CountriesFileName).string(), ProcessPendingEvents);
    countries_ = std::move(countries.Entries);
    ShowDatabaseProblem(countries.Problem);
    QStringList names;
    for (const TCountry& country : countries_) {
        names.append(QString::fromStdString(country.Name));
    }
    FillList(ComboBoxCountries, names);
    ComboBoxCountries->setFocus();
}

void TSelectLocationForm::CancelForMissingDatabase() {
    // Queued, so exec() has started its loop and the reject ends it.
    QTimer::singleShot(0, this, [this] {
        showMessage_(this, QMessageBox::Warning, QString::fromUtf8(DatabaseMissingMessage));
        reject();
    });
}

void TSelectLocationForm::ShowDatabaseProblem(const std::string& problem) {
    LabelDatabaseProblem->setText(QString::fromStdString(problem));
    LabelDatabaseProblem->setVisible(!problem.empty());
}

void TSelectLocationForm::ComboBoxCountriesSelect(int index) {
    if (busy_ || index < 0 || static_cast<std::size_t>(index) >= countries_.size()) {
        return;
    }
    busy_ = true;
    struct ClearBusy {
        bool& busy;
        ~ClearBusy() { busy = false; }
    } clearBusy{busy_};
    const TCountry country = countries_[static_cast<std::size_t>(index)];
    result_.LocationTimeZoneOffset = country.TimeZoneOffset;
    const BusyCursor busyCursor;
    TDatabaseList<TCity> cities = LoadCityList(citiesPath_, country, ProcessPendingEvents);
    cities_ = std::move(cities.Entries);
    ShowDatabaseProblem(cities.Problem);
    QStringList names;
    for (const TCity& city : cities_) {
        names.append(QString::fromStdString(city.Name));
    }
    FillList(ComboBoxCities, names);
}

void TSelectLocationForm::ComboBoxCitiesSelect(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= cities_.size()) {
        return;
    }
    const TCity& city = cities_[static_cast<std::size_t>(index)];
    result_.LocationCode = city.Code;
    result_.LocationName = city.Name;
    const auto zone = zones_.find(city.Code);
    result_.LocationTimeZone = zone == zones_.end() ? std::string() : zone->second;
}

TStationZones TSelectLocationForm::StationZones() const {
    const std::optional<std::string> folder = FindDatabaseFolder(executableFolder_);
    return folder ? ReadStationZones(*folder) : TStationZones();
}

} // namespace nimbrel::gui
