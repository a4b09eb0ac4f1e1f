#include "app/PublicHolidaysDialog.h"

#include "app/CountryHolidays.h"
#include "app/ErrorReport.h"
#include "app/HolidayChoice.h"
#include "app/TypedDateField.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QDate>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace kalendo::app {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QDate ToQDate(DateTime date) {
    const CivilDate civil = DecodeDate(date);
    return {civil.year, civil.month, civil.day};
}

// The date as the lists show it, in the user's own short form with the day's name.
QString ShownDate(DateTime date) {
    return QLocale().toString(ToQDate(date), QStringLiteral("ddd d MMM yyyy"));
}

template <typename Entry> std::vector<const Entry*> ByName(const std::vector<Entry>& entries) {
    std::vector<const Entry*> sorted;
    sorted.reserve(entries.size());
    for (const Entry& entry : entries)
        sorted.push_back(&entry);
    std::ranges::sort(sorted, [](const Entry* a, const Entry* b) {
        return QString::localeAwareCompare(Text(a->name), Text(b->name)) < 0;
    });
    return sorted;
}

QLabel* BuddyLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

// The listed days of a year: whether it is a day off, its date and its name, a row each.
QTableWidget* NewDaysTable(int year) {
    auto* days = new QTableWidget(0, 3);
    days->setHorizontalHeaderLabels(
        {QStringLiteral("Day off"), QStringLiteral("Date"), QStringLiteral("Name")});
    days->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    days->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    days->horizontalHeader()->setStretchLastSection(true);
    days->verticalHeader()->hide();
    days->verticalHeader()->setDefaultSectionSize(days->fontMetrics().height() + 6);
    days->setSelectionBehavior(QAbstractItemView::SelectRows);
    days->setSelectionMode(QAbstractItemView::SingleSelection);
    days->setEditTriggers(QAbstractItemView::NoEditTriggers);
    days->setTabKeyNavigation(false);
    days->setAccessibleName(QStringLiteral("Public holidays of %1").arg(year));
    days->setAccessibleDescription(QStringLiteral("Space unticks a day off you work"));
    return days;
}

} // namespace

TPublicHolidaysDialog::TPublicHolidaysDialog(int year, const std::optional<HolidayPlace>& place,
                                             HolidayChanges changes, QWidget* parent)
    : QDialog(parent), year_(year), changes_(std::move(changes)) {
    setObjectName(QStringLiteral("PublicHolidays"));
    setWindowTitle(QStringLiteral("Public Holidays"));
    BuildControls();
    filling_ = true;
    for (const HolidayCountryEntry* country : ByName(SharedHolidayLibrary().Countries()))
        Country->addItem(Text(country->name), Text(country->code));
    // A locale whose country has no list starts with none chosen, and OK keeps it that way.
    Country->setCurrentIndex(place ? Country->findData(Text(place->countryCode)) : -1);
    FillRegions();
    if (place && !place->WholeCountry())
        Region->setCurrentIndex(std::max(0, Region->findData(Text(place->code))));
    filling_ = false;
    ShowPlace();
    FillOwnDays();
}

void TPublicHolidaysDialog::BuildControls() {
    Reason = new QLabel;
    Reason->setWordWrap(true);
    Reason->hide();
    Country = new QComboBox;
    Country->setEditable(true);
    Country->setInsertPolicy(QComboBox::NoInsert);
    Country->setMaxVisibleItems(15);
    // Typing any part of a country's name offers it ("king" finds the United Kingdom).
    Country->completer()->setCompletionMode(QCompleter::PopupCompletion);
    Country->completer()->setFilterMode(Qt::MatchContains);
    Country->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    Country->setAccessibleName(QStringLiteral("Country"));
    Region = new QComboBox;
    Region->setAccessibleName(QStringLiteral("Region"));
    PartialNote = new QLabel;
    PartialNote->setWordWrap(true);
    PartialNote->setAccessibleName(QStringLiteral("Note on the list"));
    Days = NewDaysTable(year_);
    DaysTitle =
        BuddyLabel(QStringLiteral("&Public holidays of %1 (untick a day off you work):").arg(year_), Days);
    Refusal = new QLabel;
    Refusal->setWordWrap(true);
    Refusal->setAccessibleName(QStringLiteral("Problem"));
    Refusal->hide();
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);

    auto* places = new QGridLayout;
    places->addWidget(BuddyLabel(QStringLiteral("&Country:"), Country), 0, 0);
    places->addWidget(Country, 0, 1);
    places->addWidget(BuddyLabel(QStringLiteral("&Region:"), Region), 1, 0);
    places->addWidget(Region, 1, 1);
    places->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Reason);
    layout->addLayout(places);
    layout->addWidget(PartialNote);
    layout->addWidget(DaysTitle);
    layout->addWidget(Days, 1);
    layout->addLayout(BuildOwnDays());
    layout->addWidget(Refusal);
    layout->addWidget(Buttons);
    resize(470, 560);

    connect(Country, &QComboBox::currentIndexChanged, this, [this] {
        if (filling_) return;
        filling_ = true;
        FillRegions();
        filling_ = false;
        ShowPlace();
    });
    // A name typed in full chooses the country without going through the list; leaving the
    // field with anything else goes back to the country chosen.
    connect(Country->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        const int index = Country->findText(text.trimmed(), Qt::MatchFixedString);
        if (index >= 0 && index != Country->currentIndex()) Country->setCurrentIndex(index);
    });
    connect(Country->lineEdit(), &QLineEdit::editingFinished, this, &TPublicHolidaysDialog::TakeTypedCountry);
    Country->installEventFilter(this);
    Country->completer()->popup()->installEventFilter(this);
    // A name picked from the list of matches is taken at once, and the regions come next.
    connect(Country->completer(), qOverload<const QString&>(&QCompleter::activated), this,
            [this] { QTimer::singleShot(0, this, &TPublicHolidaysDialog::TakeCountryAndGoOn); });
    Country->lineEdit()->installEventFilter(this);
    connect(Region, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_) ShowPlace();
    });
    connect(Days, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!filling_ && item->column() == 0) DayOffToggled(item->row());
    });
    connect(Buttons, &QDialogButtonBox::accepted, this, &TPublicHolidaysDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &TPublicHolidaysDialog::reject);
}

QVBoxLayout* TPublicHolidaysDialog::BuildOwnDays() {
    OwnDate = new TTypedDateField(kSerialOf1Jan1752, kSerialOf31Dec3000);
    OwnDate->setPlaceholderText(QStringLiteral("%1-12-24").arg(year_));
    OwnDate->setToolTip(
        QStringLiteral("A date such as %1-12-24, 24/12/%1 or next Friday; Up and Down change it by a day")
            .arg(year_));
    OwnDate->setAccessibleName(QStringLiteral("Date of your own day off"));
    OwnDateReading = new QLabel;
    OwnDateReading->setAccessibleName(QStringLiteral("Date read"));
    OwnName = new QLineEdit;
    OwnName->setPlaceholderText(QStringLiteral("Company closure"));
    OwnName->setAccessibleName(QStringLiteral("Name of your own day off"));
    AddOwn = new QPushButton(QStringLiteral("&Add"));
    AddOwn->setAutoDefault(false);
    AddOwn->setAccessibleName(QStringLiteral("Add your own day off"));
    OwnDays = new QListWidget;
    OwnDays->setAccessibleName(QStringLiteral("Your own days off"));
    OwnDays->setMaximumHeight(90);
    RemoveOwn = new QPushButton(QStringLiteral("Re&move"));
    RemoveOwn->setAutoDefault(false);
    RemoveOwn->setAccessibleName(QStringLiteral("Remove the chosen day off"));

    auto* ownRow = new QHBoxLayout;
    ownRow->addWidget(OwnDate, 1);
    ownRow->addWidget(OwnName, 1);
    ownRow->addWidget(AddOwn);
    auto* ownList = new QHBoxLayout;
    ownList->addWidget(OwnDays, 1);
    ownList->addWidget(RemoveOwn, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout;
    layout->addWidget(BuddyLabel(QStringLiteral("Your &own days off (date and name):"), OwnDate));
    layout->addLayout(ownRow);
    layout->addWidget(OwnDateReading);
    layout->addLayout(ownList);

    connect(OwnDate, &TTypedDateField::ReadingChanged, OwnDateReading, &QLabel::setText);
    connect(AddOwn, &QPushButton::clicked, this, [this] { AddOwnDay(); });
    connect(RemoveOwn, &QPushButton::clicked, this, [this] { RemoveOwnDay(); });
    return layout;
}

void TPublicHolidaysDialog::SetReason(const QString& reason) {
    Reason->setText(reason);
    Reason->setVisible(!reason.isEmpty());
    // A screen reader reads it with the window.
    setAccessibleDescription(reason);
}

std::optional<HolidayPlace> TPublicHolidaysDialog::Place() const {
    const QString code = Region->currentData().toString().isEmpty() ? Country->currentData().toString()
                                                                    : Region->currentData().toString();
    if (code.isEmpty()) return std::nullopt;
    return SharedHolidayLibrary().FindPlace(code.toStdString());
}

void TPublicHolidaysDialog::FillRegions() {
    Region->clear();
    Region->addItem(QStringLiteral("Whole country"), QString());
    const std::string code = Country->currentData().toString().toStdString();
    for (const HolidayCountryEntry& country : SharedHolidayLibrary().Countries()) {
        if (country.code != code) continue;
        for (const HolidayPlaceEntry* region : ByName(country.regions))
            Region->addItem(Text(region->name), Text(region->code));
    }
    Region->setEnabled(Region->count() > 1);
}

void TPublicHolidaysDialog::ShowPlace() {
    const std::optional<HolidayPlace> place = Place();
    std::shared_ptr<const HolidayTable> table;
    if (place) table = SharedHolidayLibrary().Holidays(*place);
    shownDays_ = table != nullptr ? DaysOfYear(*table, year_) : std::vector<PlaceDay>{};
    PartialNote->setText(place && !place->partialNote.empty()
                             ? QStringLiteral("This list is incomplete. %1").arg(Text(place->partialNote))
                             : QString());
    PartialNote->setVisible(!PartialNote->text().isEmpty());

    filling_ = true;
    Days->setRowCount(static_cast<int>(shownDays_.size()));
    for (int row = 0; row < Days->rowCount(); ++row) {
        const PlaceDay& day = shownDays_[static_cast<std::size_t>(row)];
        auto* dayOff = new QTableWidgetItem;
        if (day.dayOff) {
            const bool worked = std::ranges::find(changes_.workedDays, day.date) != changes_.workedDays.end();
            dayOff->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            dayOff->setCheckState(worked ? Qt::Unchecked : Qt::Checked);
        } else {
            // A named day most people work (an observance) has no day off to give up.
            dayOff->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            dayOff->setText(QStringLiteral("no"));
        }
        Days->setItem(row, 0, dayOff);
        Days->setItem(row, 1, new QTableWidgetItem(ShownDate(day.date)));
        Days->setItem(row, 2, new QTableWidgetItem(Text(day.name)));
        for (int column = 1; column < 3; ++column)
            Days->item(row, column)->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    if (Days->rowCount() > 0) Days->setCurrentCell(0, 0);
    filling_ = false;
    if (shownDays_.empty())
        DaysTitle->setText(QStringLiteral("&Public holidays of %1: none known for this place.").arg(year_));
    else
        DaysTitle->setText(QStringLiteral("&Public holidays of %1 (untick a day off you work):").arg(year_));
}

void TPublicHolidaysDialog::DayOffToggled(int row) {
    const DateTime date = shownDays_.at(static_cast<std::size_t>(row)).date;
    auto& worked = changes_.workedDays;
    worked.erase(std::remove(worked.begin(), worked.end(), date), worked.end());
    if (Days->item(row, 0)->checkState() == Qt::Unchecked) {
        worked.push_back(date);
        std::ranges::sort(worked);
    }
}

void TPublicHolidaysDialog::FillOwnDays() {
    OwnDays->clear();
    for (const OwnDayOff& day : changes_.ownDaysOff)
        OwnDays->addItem(ShownDate(day.date) + QStringLiteral("  ") + Text(day.name));
    RemoveOwn->setEnabled(OwnDays->count() > 0);
}

bool TPublicHolidaysDialog::AddOwnDay() {
    const TypedDateReading& typed = OwnDate->Reading();
    std::optional<QString> refusal;
    switch (typed.kind) {
    case TypedDateReading::kEmpty:
        refusal = QStringLiteral("Type the date of the day off, such as %1-12-24.").arg(year_);
        break;
    case TypedDateReading::kNoDate:
        refusal = QStringLiteral("No date can be read in \"%1\".").arg(OwnDate->text().trimmed());
        break;
    case TypedDateReading::kDate:
    case TypedDateReading::kOutOfRange:
        refusal = OwnDayOffRefusal(changes_, typed.date, OwnName->text());
        break;
    }
    Refusal->setText(refusal.value_or(QString()));
    Refusal->setVisible(refusal.has_value());
    if (refusal) return false;
    changes_.ownDaysOff.push_back(
        {typed.date, OwnName->text().simplified().replace(u';', u',').toStdString()});
    std::ranges::sort(changes_.ownDaysOff, {}, &OwnDayOff::date);
    OwnName->clear();
    FillOwnDays();
    return true;
}

void TPublicHolidaysDialog::RemoveOwnDay() {
    const int row = OwnDays->currentRow();
    if (row < 0 || row >= static_cast<int>(changes_.ownDaysOff.size())) return;
    changes_.ownDaysOff.erase(changes_.ownDaysOff.begin() + row);
    FillOwnDays();
    OwnDays->setCurrentRow(std::min(row, OwnDays->count() - 1));
}

void TPublicHolidaysDialog::accept() {
    // A day typed in but not yet added is what the user means by OK; a refused one keeps the
    // window open with the reason.
    if (!OwnName->text().trimmed().isEmpty() && !AddOwnDay()) return;
    QDialog::accept();
}

TPublicHolidaysDialog*
OpenPublicHolidaysDialog(QWidget& owner, int year, const TCountryHolidays& holidays, const QString& reason,
                         std::function<void(const HolidayPlace&, HolidayChanges)> onAccepted) {
    auto* dialog = new TPublicHolidaysDialog(year, holidays.Place(), holidays.Changes(), &owner);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->SetReason(reason);
    dialog->setWindowModality(Qt::WindowModal);
    QObject::connect(dialog, &QDialog::accepted, dialog, [dialog, onAccepted = std::move(onAccepted)] {
        RunUserAction([&] {
            if (const std::optional<HolidayPlace> place = dialog->Place())
                onAccepted(*place, dialog->Changes());
        });
    });
    dialog->move(owner.pos() + QPoint(15, 40));
    dialog->show();
    // Asked for a region, the user starts at the region.
    (reason.isEmpty() ? dialog->Country : dialog->Region)->setFocus(Qt::OtherFocusReason);
    // Typing replaces the country shown, as in any field reached by Tab.
    dialog->Country->lineEdit()->selectAll();
    return dialog;
}

void TPublicHolidaysDialog::TakeTypedCountry() {
    const int index = Country->findText(Country->currentText().trimmed(), Qt::MatchFixedString);
    if (index >= 0)
        Country->setCurrentIndex(index);
    else
        Country->setEditText(Country->itemText(Country->currentIndex()));
}

void TPublicHolidaysDialog::TakeCountryAndGoOn() {
    TakeTypedCountry();
    (Region->isEnabled() ? static_cast<QWidget*>(Region) : static_cast<QWidget*>(Days))
        ->setFocus(Qt::TabFocusReason);
}

bool TPublicHolidaysDialog::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the country field, also on a name picked from its list of matches, takes that
    // country and goes on to its regions: closing the window there would leave no way to choose one.
    QCompleter* matches = Country->completer();
    if (watched == matches->popup() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Enter on the list of matches takes the one marked, else the first.
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && matches->completionCount() > 0) {
            const QModelIndex marked = matches->popup()->currentIndex();
            if (!marked.isValid()) matches->setCurrentRow(0);
            const QString name = marked.isValid() ? marked.data().toString() : matches->currentCompletion();
            matches->popup()->hide();
            Country->setEditText(name);
            TakeCountryAndGoOn();
            return true;
        }
    }
    if ((watched == Country || watched == Country->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            TakeCountryAndGoOn();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kalendo::app
