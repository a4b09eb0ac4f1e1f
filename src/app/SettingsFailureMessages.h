#pragma once

#include "platform/SettingsStore.h"

#include <QString>
#include <QStringList>

namespace kalendo::app {

// What is lost when these values cannot be stored, in words: "the window's position and the
// choices made in the Defaults menu and with the tick boxes". Names Kalendo does not know add
// nothing.
QString LostSettingsDescription(const QStringList& names);

// The exit sequence's question when the options could not be written: it says why, where and
// what exiting now loses. Yes exits without saving; No keeps the program open to try again.
QString ExitWithoutSavingQuestion(const platform::SettingsWriteFailure& failure);

// Save Dates' report when the dates could not be written, shown instead of its success message.
QString SaveDatesFailureText(const platform::SettingsWriteFailure& failure);

} // namespace kalendo::app
