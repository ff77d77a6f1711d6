#pragma once
// The station picker: a country, then one of its stations. The result is kept between openings.
#include "base/qt/MessageBox.h"
#include "settings/LocationDatabase.h"
#include "settings/Preferences.h"

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

namespace nimbrel::gui {

class TSelectLocationForm : public QDialog {
    Q_OBJECT
public:
    // executableFolder is where the station database is looked for (see FindDatabaseFolder).
    TSelectLocationForm(std::string executableFolder, MessageBoxFunction showMessage,
                        QWidget* parent = nullptr);

    const std::string& LocationCode() const { return result_.LocationCode; }
    const std::string& LocationName() const { return result_.LocationName; }
    const std::string& LocationTimeZoneOffset() const { return result_.LocationTimeZoneOffset; }
    const LocationChoice& Result() const { return result_; }
    // Every station's zone from the database beside the program; none when it is not there.
    TStationZones StationZones() const;

    QComboBox* ComboBoxCountries;
    QComboBox* ComboBoxCities;
    // Why a list is empty when the database cannot be used; hidden otherwise.
    QLabel* LabelDatabaseProblem;
    QPushButton* ButtonOK;
    QPushButton* ButtonCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void ComboBoxCountriesSelect(int index);
    void ComboBoxCitiesSelect(int index);
    // A missing database leaves nothing to choose: say so, then cancel once the dialog runs.
    void CancelForMissingDatabase();
    void ShowDatabaseProblem(const std::string& problem);

    std::string executableFolder_;
    MessageBoxFunction showMessage_;
    std::string citiesPath_;
    std::vector<TCountry> countries_;
    std::vector<TCity> cities_;
    TStationZones zones_;
    LocationChoice result_;
    bool busy_ = false;
};

} // namespace nimbrel::gui
