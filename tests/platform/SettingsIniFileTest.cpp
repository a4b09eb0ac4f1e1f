#include "platform/SettingsIniFile.h"

#include "app/QStringPrinter.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kalendo::platform {
namespace {

TEST(SettingsIniText, readsBackThroughQSettingsAsExactlyTheValuesWritten) {
    const struct {
        const char* meaning;
        QString value;
    } rows[] = {
        {"empty", ""},
        {"a date", "01/03/2001"},
        {"commas would make a list", "a, b, c"},
        {"a semicolon would start a comment", "a;b"},
        {"quotes and backslashes", R"(say "hi" C:\dir\)"},
        {"blanks at either end", "  padded  "},
        {"an object's form", "@Point(1 2)"},
        {"an escaped at sign", "@@x"},
        {"letters beyond ASCII", "Straße 日本"},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath("s.ini");
    for (const auto& row : rows) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(SettingsIniText({{"WE", row.value}, {"Later/Theme", row.value}}));
        file.close();
        const QSettings settings(path, QSettings::IniFormat);
        EXPECT_EQ(settings.value("WE"), QVariant(row.value)) << row.meaning;
        EXPECT_EQ(settings.value("Later/Theme"), QVariant(row.value)) << row.meaning;
        EXPECT_EQ(settings.allKeys().size(), 2) << row.meaning;
    }
}

} // namespace
} // namespace kalendo::platform
