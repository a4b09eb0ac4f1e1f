#include "app/SettingsFailureMessages.h"

#include <algorithm>
#include <initializer_list>

namespace kalendo::app {

QString LostSettingsDescription(const QStringList& names) {
    const auto any = [&](std::initializer_list<const char*> group) {
        return std::any_of(group.begin(), group.end(),
                           [&](const char* name) { return names.contains(QLatin1String(name)); });
    };
    QStringList parts;
    if (any({"left", "top"})) parts.append(QStringLiteral("the window's position"));
    if (any({"WN", "WF", "WE", "SE", "WC", "ST", "FI", "AUP", "MUP", "AlwaysOnTop", "PH", "PB",
             "StartOfWeek"}))
        parts.append(QStringLiteral("the choices made in the Defaults menu and with the tick boxes"));
    if (any({"Cal1", "Cal2"})) parts.append(QStringLiteral("the two calendar dates"));
    if (parts.size() <= 1) return parts.value(0);
    const QString last = parts.takeLast();
    return parts.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

QString ExitWithoutSavingQuestion(const platform::SettingsWriteFailure& failure) {
    QString lost = LostSettingsDescription(failure.names);
    if (lost.isEmpty()) lost = QStringLiteral("your changes");
    return QStringLiteral("Kalendo could not save its settings to %1: %2.\n\n"
                          "If you exit now, this is lost: %3. The settings saved before stay as "
                          "they were.\n\nExit without saving?")
        .arg(failure.location, failure.cause, lost);
}

QString SaveDatesFailureText(const platform::SettingsWriteFailure& failure) {
    return QStringLiteral("The dates were not saved: Kalendo could not write to %1: %2.\n\n"
                          "The dates saved before are kept.")
        .arg(failure.location, failure.cause);
}

} // namespace kalendo::app
