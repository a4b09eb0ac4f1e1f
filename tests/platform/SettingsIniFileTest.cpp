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
        {"quotes and backslashes", "say \"hi\" C:\\dir\\"},
        {"blanks at either end", "  padded  "},
        {"an object's form", "@Point(1 2)"},
        {"an escaped at sign", "@@x"},
        {"an equals sign and brackets", "a=b [c]"},
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

TEST(KeptSettings, keepsKnownAndOtherVersionsValuesAndDropsGarbage) {
    QTemporaryDir dir;
    const QString path = dir.filePath("s.ini");
    QByteArray content = "\x01\x02 binary junk\n[General]\nWN=1\nFI=@Point(1 2)\nTheme=dark\nbad key=1\n"
                         "WE=" +
                         QByteArray(300, '1') + "\n[Later]\nZoom=2\n[%General]\nx=1\n";
    for (int i = 0; i < 100; ++i)
        content += "[Zjunk" + QByteArray::number(i) + "]\nk=v\n";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    const QMap<QString, QString> kept = KeptSettings(path, {"WN", "FI", "WE", "Zjunk99/k"});
    EXPECT_EQ(kept.value("WN"), "1");
    EXPECT_EQ(kept.value("Theme"), "dark");
    EXPECT_EQ(kept.value("Later/Zoom"), "2");
    EXPECT_EQ(kept.value("Zjunk99/k"), "v") << "a known name comes before the cap on others";
    EXPECT_FALSE(kept.contains("FI")) << "not plain text";
    EXPECT_FALSE(kept.contains("WE")) << "too long to be ours";
    EXPECT_EQ(kept.size(), 2 + kMaxForeignSettings) << "at most so many values of others";
    EXPECT_TRUE(KeptSettings(dir.filePath("missing.ini"), {"WN"}).isEmpty());
}

} // namespace
} // namespace kalendo::platform
