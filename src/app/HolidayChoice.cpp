#include "app/HolidayChoice.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace kalendo::app {

namespace {

constexpr int kFirstYear = 1752;
constexpr int kLastYear = 3000;

std::optional<DateTime> ReadIsoDate(const QString& text) {
    const QDate date = QDate::fromString(text, Qt::ISODate);
    if (!date.isValid() || date.year() < kFirstYear || date.year() > kLastYear) return std::nullopt;
    return EncodeDate(date.year(), date.month(), date.day());
}

QString IsoDate(DateTime date) {
    const CivilDate civil = DecodeDate(date);
    return QDate(civil.year, civil.month, civil.day).toString(Qt::ISODate);
}

bool HasOwnDay(const HolidayChanges& changes, DateTime date) {
    return std::ranges::any_of(changes.ownDaysOff, [date](const OwnDayOff& day) { return day.date == date; });
}

// A name is kept on one line of the store, so the list's separator cannot be part of it.
QString StorableName(const QString& name) { return name.simplified().replace(u';', u','); }

} // namespace

QString CleanPlaceCode(const QString& stored) {
    static const QRegularExpression code(QStringLiteral("^[A-Za-z]{2}(-[A-Za-z0-9]{1,8}){0,2}$"));
    return code.match(stored).hasMatch() ? stored.toUpper() : QString();
}

HolidayChanges ReadHolidayChanges(const QString& ownDaysOff, const QString& workedDays) {
    HolidayChanges changes;
    for (const QString& item : ownDaysOff.split(u';', Qt::SkipEmptyParts)) {
        const QString trimmed = item.trimmed();
        const std::optional<DateTime> date = ReadIsoDate(trimmed.left(10));
        const QString name = StorableName(trimmed.mid(10));
        if (!date || name.isEmpty() || HasOwnDay(changes, *date)) continue;
        changes.ownDaysOff.push_back({*date, name.toStdString()});
    }
    for (const QString& item : workedDays.split(u';', Qt::SkipEmptyParts)) {
        const std::optional<DateTime> date = ReadIsoDate(item.trimmed());
        if (date && std::ranges::find(changes.workedDays, *date) == changes.workedDays.end())
            changes.workedDays.push_back(*date);
    }
    std::ranges::sort(changes.ownDaysOff, {}, &OwnDayOff::date);
    std::ranges::sort(changes.workedDays);
    return changes;
}

QString OwnDaysOffText(const HolidayChanges& changes) {
    QStringList items;
    for (const OwnDayOff& day : changes.ownDaysOff)
        items << IsoDate(day.date) + u' ' + StorableName(QString::fromStdString(day.name));
    return items.join(u';');
}

QString WorkedDaysText(const HolidayChanges& changes) {
    QStringList items;
    for (const DateTime date : changes.workedDays)
        items << IsoDate(date);
    return items.join(u';');
}

std::optional<QString> OwnDayOffRefusal(const HolidayChanges& changes, DateTime date, const QString& name) {
    const int year = DecodeDate(date).year;
    if (year < kFirstYear || year > kLastYear)
        return QStringLiteral("A day off must lie between the years %1 and %2.")
            .arg(kFirstYear)
            .arg(kLastYear);
    if (HasOwnDay(changes, date))
        return QStringLiteral("%1 is already one of your days off.").arg(IsoDate(date));
    if (StorableName(name).isEmpty())
        return QStringLiteral("Give the day off a name, such as Company closure.");
    return std::nullopt;
}

} // namespace kalendo::app
