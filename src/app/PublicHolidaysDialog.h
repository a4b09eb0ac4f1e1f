#pragma once

#include "dates/HolidayDataFile.h"
#include "dates/HolidayPlaces.h"

#include <QDialog>

#include <functional>
#include <optional>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class QVBoxLayout;

namespace kalendo::app {

class TCountryHolidays;
class TTypedDateField;

// Defaults > Public Holidays: the country and region whose public holidays Kalendo marks and
// skips, the listed days of one year with the days off the user works unticked, and the user's
// own days off. Nothing changes outside the window until OK.
class TPublicHolidaysDialog final : public QDialog {
public:
    TPublicHolidaysDialog(int year, const std::optional<HolidayPlace>& place, HolidayChanges changes,
                          QWidget* parent = nullptr);

    // The place chosen: none only when the data knows no place at all.
    std::optional<HolidayPlace> Place() const;
    const HolidayChanges& Changes() const { return changes_; }

    // Why the window was opened, when it was not the user's own choice; hidden when empty.
    void SetReason(const QString& reason);

    QLabel* Reason = nullptr;
    QComboBox* Country = nullptr;
    QComboBox* Region = nullptr;
    QLabel* PartialNote = nullptr;
    QLabel* DaysTitle = nullptr;
    QTableWidget* Days = nullptr;
    TTypedDateField* OwnDate = nullptr;
    QLabel* OwnDateReading = nullptr;
    QLineEdit* OwnName = nullptr;
    QPushButton* AddOwn = nullptr;
    QListWidget* OwnDays = nullptr;
    QPushButton* RemoveOwn = nullptr;
    QLabel* Refusal = nullptr;
    QDialogButtonBox* Buttons = nullptr;

    // Adds the own day typed in; false, with the reason shown, when it is refused.
    bool AddOwnDay();

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The country whose name is typed in full, else back to the one chosen.
    void TakeTypedCountry();
    // Then on to the regions (or the days, for a country without any).
    void TakeCountryAndGoOn();
    void BuildControls();
    // The date and name of an own day off, what the date reads as, and the list of them.
    QVBoxLayout* BuildOwnDays();
    void FillRegions();
    void ShowPlace();
    void FillOwnDays();
    void RemoveOwnDay();
    void DayOffToggled(int row);

    int year_;
    HolidayChanges changes_;
    std::vector<PlaceDay> shownDays_;
    bool filling_ = false;
};

// Opens the window over owner for the year with the holidays' current choice and the reason it
// opens ("" when the user asked for it); onAccepted gets the place and changes of an OK, inside
// the program's error report. The window closes itself.
TPublicHolidaysDialog*
OpenPublicHolidaysDialog(QWidget& owner, int year, const TCountryHolidays& holidays, const QString& reason,
                         std::function<void(const HolidayPlace&, HolidayChanges)> onAccepted);

} // namespace kalendo::app
