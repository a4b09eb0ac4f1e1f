#include "platform/SettingsStore.h"

#include "dates/Error.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace kalendo::platform {
namespace {

struct IntegerRow {
    const char* meaning;
    const char* text;
    std::optional<std::int32_t> expected;
};

TEST(ParseSettingsInteger, readsOnlyPlainDecimalIntegersWithin32Bits) {
    const IntegerRow rows[] = {
        {"zero", "0", 0},
        {"one", "1", 1},
        {"negative", "-5", -5},
        {"explicit plus", "+7", 7},
        {"largest int32", "2147483647", 2147483647},
        {"smallest int32", "-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"leading zeros", "007", 7},
        {"empty", "", std::nullopt},
        {"word", "abc", std::nullopt},
        {"fraction", "1.5", std::nullopt},
        {"leading blank", " 1", std::nullopt},
        {"trailing blank", "1 ", std::nullopt},
        {"one past int32", "2147483648", std::nullopt},
        {"lone sign", "-", std::nullopt},
        {"exponent", "1e3", std::nullopt},
        {"hexadecimal", "0x10", std::nullopt},
        {"far too many digits", "99999999999999999999", std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ParseSettingsInteger(QString::fromUtf8(row.text)), row.expected) << row.meaning;
    EXPECT_EQ(ParseSettingsInteger(QStringLiteral("\u0661")), std::nullopt) << "non-ASCII digit";
}

class NativeStoreTest : public ::testing::Test {
protected:
    QString FilePath() const { return dir_.filePath(QStringLiteral("Marrowby/Kalendo v2.74.conf")); }

    void WriteRaw(const QByteArray& content) const {
        QDir().mkpath(dir_.filePath(QStringLiteral("Marrowby")));
        QFile file(FilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    QByteArray ReadRaw() const {
        QFile file(FilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString Read(const QString& name, const QString& defaultValue = QStringLiteral("<default>")) const {
        NativeSettingsStore store(FilePath());
        return store.OpenKey()->ReadString(name, defaultValue);
    }

    QTemporaryDir dir_;
};

TEST_F(NativeStoreTest, writtenValuesSurviveANewStoreAsText) {
    {
        NativeSettingsStore store(FilePath());
        auto key = store.OpenKey();
        key->WriteString(QStringLiteral("StartOfWeek"), QStringLiteral("S"));
        key->WriteInteger(QStringLiteral("left"), -40);
        key->WriteString(QStringLiteral("Cal1"), QString());
        key->Close();
    }
    NativeSettingsStore store(FilePath());
    auto key = store.OpenKey();
    EXPECT_EQ(key->ReadString(QStringLiteral("StartOfWeek"), QString()), QStringLiteral("S"));
    EXPECT_EQ(key->ReadString(QStringLiteral("left"), QString()), QStringLiteral("-40"));
    EXPECT_EQ(key->ReadInteger(QStringLiteral("left"), 522), -40);
    EXPECT_EQ(key->ReadString(QStringLiteral("Cal1"), QStringLiteral("x")), QString()) << "empty is a value";
    EXPECT_EQ(key->ReadInteger(QStringLiteral("top"), 143), 143) << "missing value";
}

TEST_F(NativeStoreTest, nothingIsStoredBeforeClose) {
    NativeSettingsStore store(FilePath());
    auto key = store.OpenKey();
    key->WriteInteger(QStringLiteral("WN"), 1);
    EXPECT_EQ(Read(QStringLiteral("WN")), QStringLiteral("<default>"));
    key->Close();
    EXPECT_EQ(Read(QStringLiteral("WN")), QStringLiteral("1"));
}

TEST_F(NativeStoreTest, closeKeepsValuesWrittenEarlierByOthers) {
    WriteRaw("[General]\nCal1=01/03/2001\nFI=9\n");
    NativeSettingsStore store(FilePath());
    auto key = store.OpenKey();
    key->WriteInteger(QStringLiteral("FI"), 3);
    key->Close();
    EXPECT_EQ(Read(QStringLiteral("Cal1")), QStringLiteral("01/03/2001"));
    EXPECT_EQ(Read(QStringLiteral("FI")), QStringLiteral("3"));
}

struct UntrustedRow {
    const char* meaning;
    QByteArray line;
};

TEST_F(NativeStoreTest, valuesThatAreNotPlainTextReadAsTheDefault) {
    const UntrustedRow rows[] = {
        {"a list", "WE=a, b, c"},
        {"a serialised integer", R"(WE=@Variant(\0\0\0\x2\0\0\0\x5))"},
        {"a serialised point", "WE=@Point(1 2)"},
        {"a byte array", "WE=@ByteArray(abc)"},
        {"a control character", "WE=a\\x1b"},
        {"an invalid variant", "WE=@Invalid()"},
        {"a megabyte of text", "WE=" + QByteArray(1 << 20, 'x')},
    };
    for (const auto& row : rows) {
        WriteRaw("[General]\n" + row.line + "\n");
        EXPECT_EQ(Read(QStringLiteral("WE")), QStringLiteral("<default>")) << row.meaning;
        NativeSettingsStore store(FilePath());
        EXPECT_EQ(store.OpenKey()->ReadInteger(QStringLiteral("WE"), 0), 0) << row.meaning;
    }
}

TEST_F(NativeStoreTest, garbageFileReadsAsDefaultsAndIsReplacedOnWrite) {
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(static_cast<char>((i * 7919) % 256));
    WriteRaw(garbage);
    EXPECT_EQ(Read(QStringLiteral("left")), QStringLiteral("<default>"));

    NativeSettingsStore store(FilePath());
    auto key = store.OpenKey();
    key->WriteInteger(QStringLiteral("left"), 10);
    key->Close();
    EXPECT_EQ(Read(QStringLiteral("left")), QStringLiteral("10"));
}

TEST_F(NativeStoreTest, storeThatIsAFolderReadsDefaultsAndRefusesWrites) {
    QDir().mkpath(FilePath());
    EXPECT_EQ(Read(QStringLiteral("left")), QStringLiteral("<default>"));
    NativeSettingsStore store(FilePath());
    auto key = store.OpenKey();
    key->WriteInteger(QStringLiteral("left"), 10);
    EXPECT_THROW(key->Close(), Error);
}

TEST_F(NativeStoreTest, failedWriteNamesKeyAndValueAndLeavesTheOldFile) {
    // A file where the folder should be: the store's folder cannot be made, even for root.
    QFile blocker(dir_.filePath(QStringLiteral("Marrowby")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    NativeSettingsStore store(FilePath());
    auto key = store.OpenKey();
    key->WriteInteger(QStringLiteral("left"), 10);
    key->WriteInteger(QStringLiteral("top"), 20);
    try {
        key->Close();
        FAIL() << "write to an impossible folder succeeded";
    } catch (const Error& error) {
        const std::string text = error.what();
        EXPECT_NE(text.find("'left'"), std::string::npos) << text;
        EXPECT_NE(text.find("Software\\Marrowby\\Kalendo v2.74"), std::string::npos) << text;
    }
}

TEST_F(NativeStoreTest, readOnlyFileRefusesWritesAndKeepsItsValues) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes read-only files";
    WriteRaw("[General]\nWN=0\n");
    QFile::setPermissions(FilePath(), QFile::ReadOwner);
    NativeSettingsStore store(FilePath());
    auto key = store.OpenKey();
    key->WriteInteger(QStringLiteral("WN"), 1);
    EXPECT_THROW(key->Close(), Error);
    EXPECT_EQ(Read(QStringLiteral("WN")), QStringLiteral("0"));
}

TEST_F(NativeStoreTest, lockHeldByAnotherWriterGivesUpWithAnError) {
    WriteRaw("[General]\nWN=0\n");
    QLockFile otherProcess(FilePath() + QStringLiteral(".lock"));
    ASSERT_TRUE(otherProcess.tryLock(0));
    NativeSettingsStore store(FilePath());
    store.SetLockTimeout(20);
    auto key = store.OpenKey();
    key->WriteInteger(QStringLiteral("WN"), 1);
    try {
        key->Close();
        FAIL() << "wrote past a held lock";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find("in use by another program"), std::string::npos);
    }
    EXPECT_EQ(ReadRaw(), QByteArray("[General]\nWN=0\n"));

    otherProcess.unlock();
    key->WriteInteger(QStringLiteral("WN"), 1);
    key->Close();
    EXPECT_EQ(Read(QStringLiteral("WN")), QStringLiteral("1")) << "a later try succeeds";
}

TEST(NativeSettingsStore, defaultStoreLivesInTheConfigurationFolderUnderTheKeyNames) {
    QTemporaryDir config;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    NativeSettingsStore store;
    EXPECT_EQ(store.FileName(), config.filePath(QStringLiteral("Marrowby/Kalendo v2.74.conf")));
    auto key = store.OpenKey();
    key->WriteString(QStringLiteral("appver"), QStringLiteral("2.74"));
    key->Close();
    EXPECT_TRUE(QFile::exists(store.FileName()));
}

TEST(MemorySettingsStore, failingValueStopsTheWholeCommit) {
    MemorySettingsStore store;
    store.values.insert(QStringLiteral("left"), QStringLiteral("1"));
    store.failingValue = QStringLiteral("WE");
    auto key = store.OpenKey();
    key->WriteInteger(QStringLiteral("left"), 5);
    key->WriteInteger(QStringLiteral("WE"), 1);
    EXPECT_THROW(key->Close(), Error);
    EXPECT_EQ(store.values.value(QStringLiteral("left")), QStringLiteral("1"));
    EXPECT_FALSE(store.values.contains(QStringLiteral("WE")));
    EXPECT_EQ(store.commitCount, 0);
}

TEST(MemorySettingsStore, readsValidateLikeTheRealStore) {
    MemorySettingsStore store;
    store.values.insert(QStringLiteral("WE"), QStringLiteral("abc"));
    store.values.insert(QStringLiteral("SE"), QString(300, u'1'));
    store.values.insert(QStringLiteral("ST"), QStringLiteral("1"));
    auto key = store.OpenKey();
    EXPECT_EQ(key->ReadInteger(QStringLiteral("WE"), 0), 0);
    EXPECT_EQ(key->ReadInteger(QStringLiteral("SE"), 0), 0);
    EXPECT_EQ(key->ReadInteger(QStringLiteral("ST"), 0), 1);
}

} // namespace
} // namespace kalendo::platform
