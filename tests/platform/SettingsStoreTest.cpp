#include "platform/SettingsStore.h"
#include "KalendoVersion.h"

#include "app/QStringPrinter.h"
#include "dates/Error.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mount.h>
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

const QString kFileName = QString::fromLatin1(kalendo::kVersionedName) + QStringLiteral(".conf");

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class NativeStoreTest : public ::testing::Test {
protected:
    QString FilePath() const { return dir_.filePath(QStringLiteral("Marrowby/") + kFileName); }

    void WriteRaw(const QByteArray& content) const {
        QDir().mkpath(dir_.filePath(QStringLiteral("Marrowby")));
        QFile file(FilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    QByteArray ReadRaw() const { return FileBytes(FilePath()); }

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
    const std::optional<SettingsWriteFailure> failure = key->TryClose();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->location, QDir::toNativeSeparators(FilePath()));
    EXPECT_EQ(failure->cause, QStringLiteral("a folder is in the way where the file should be"));
}

TEST_F(NativeStoreTest, failedWriteNamesTheFileAndTheCauseAndLeavesNothing) {
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
        EXPECT_EQ(QString::fromUtf8(error.what()),
                  QStringLiteral("Kalendo could not save its settings to %1: a file is in the way where its "
                                 "folder should be. The settings saved before are kept.")
                      .arg(QDir::toNativeSeparators(FilePath())));
    }
}

TEST_F(NativeStoreTest, readOnlyFileRefusesWritesAndKeepsItsValues) {
    // Even an administrator's write would defeat a file made read-only on purpose.
    WriteRaw("[General]\nWN=0\n");
    QFile::setPermissions(FilePath(), QFile::ReadOwner);
    NativeSettingsStore store(FilePath());
    auto key = store.OpenKey();
    key->WriteInteger(QStringLiteral("WN"), 1);
    const std::optional<SettingsWriteFailure> failure = key->TryClose();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->cause, QStringLiteral("the file is read-only"));
    EXPECT_EQ(failure->names, QStringList{QStringLiteral("WN")});
    EXPECT_EQ(ReadRaw(), QByteArray("[General]\nWN=0\n"));
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

// A 64 KB disk of its own (a tmpfs), which only root may mount: the faults a real disk gives.
class SmallDisk {
public:
    SmallDisk() {
        if (geteuid() != 0)
            skipReason_ = "mounting a small disk needs root";
        else if (::mount("tmpfs", Path().constData(), "tmpfs", 0, "size=64k") != 0)
            skipReason_ = std::string("tmpfs cannot be mounted here: ") + std::strerror(errno);
    }
    ~SmallDisk() {
        if (skipReason_.empty()) ::umount(Path().constData());
    }
    const std::string& SkipReason() const { return skipReason_; }
    QString FilePath() const { return dir_.filePath(kFileName); }
    QStringList Files() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden); }

    // Fills the disk and frees one page of it again.
    void FillLeavingOnePage() const {
        const int fd =
            ::open(QFile::encodeName(dir_.filePath("filler")).constData(), O_WRONLY | O_CREAT, 0600);
        const QByteArray page(4096, 'x');
        off_t size = 0;
        while (::write(fd, page.constData(), page.size()) == page.size())
            size += page.size();
        ASSERT_EQ(::ftruncate(fd, size - page.size()), 0);
        ::close(fd);
    }

private:
    QByteArray Path() const { return QFile::encodeName(dir_.path()); }
    QTemporaryDir dir_;
    std::string skipReason_;
};

TEST(NativeSettingsStoreOnASmallDisk, aFullDiskKeepsTheOldFileByteForByteAndSaysSo) {
    SmallDisk disk;
    if (!disk.SkipReason().empty()) GTEST_SKIP() << disk.SkipReason();
    NativeSettingsStore store(disk.FilePath());
    auto key = store.OpenKey();
    for (const char* name : kKalendoSettingsNames)
        key->WriteString(QLatin1String(name), QStringLiteral("1"));
    ASSERT_FALSE(key->TryClose());
    const QByteArray before = FileBytes(disk.FilePath());
    ASSERT_FALSE(before.isEmpty());

    disk.FillLeavingOnePage();
    key->WriteString(QStringLiteral("Cal1"), QStringLiteral("01/03/2001"));
    key->WriteString(QStringLiteral("Cal2"), QStringLiteral("25/12/2026"));
    const std::optional<SettingsWriteFailure> failure = key->TryClose();
    ASSERT_TRUE(failure) << "the new file cannot fit beside the lock";
    EXPECT_EQ(failure->cause, QStringLiteral("the disk is full"));
    EXPECT_EQ(failure->location, disk.FilePath());
    EXPECT_EQ(FileBytes(disk.FilePath()), before);
    EXPECT_EQ(disk.Files(), (QStringList{QStringLiteral("filler"), kFileName}))
        << "no half-written file is left";
}

TEST_F(NativeStoreTest, aDamagedStoreIsRepairedByTheNextWrite) {
    QByteArray garbage = "[General]\nWN=1\nTheme=dark\n";
    for (int i = 0; i < 20000; ++i)
        garbage += "\x7f\x01 junk line " + QByteArray::number(i) + " \xff\n";
    WriteRaw(garbage + "FI=@Point(1 2)\n[Later]\nZoom=2\n");
    NativeSettingsStore store(FilePath());
    auto key = store.OpenKey();
    key->WriteInteger(QStringLiteral("left"), 10);
    key->Close();
    EXPECT_EQ(ReadRaw(),
              QByteArray("[General]\nTheme=\"dark\"\nWN=\"1\"\nleft=\"10\"\n\n[Later]\nZoom=\"2\"\n"))
        << "Kalendo's and other versions' values kept, the garbage and a value that is no text dropped";
}

TEST(NativeSettingsStore, defaultStoreLivesInTheConfigurationFolderUnderTheKeyNames) {
    QTemporaryDir config;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    NativeSettingsStore store;
    EXPECT_EQ(store.FileName(), config.filePath(QStringLiteral("Marrowby/") + kFileName));
    auto key = store.OpenKey();
    key->WriteString(QStringLiteral("appver"), QString::fromLatin1(kalendo::kVersion));
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
