// Files named by users and by other files: only plain files are read or replaced, nothing blocks,
// and a name keeps its bytes whether or not they are UTF-8.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/Files.h"
#include "support/HostileFiles.h"

TEST(PlainFiles, OnlyAPlainFileIsReadOrReplacedAndNothingBlocks)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto hostile = MakeHostileFiles(dir.path());
    const TFifoGuard guard({hostile[1].Path});
    for (const THostileFile& file : hostile) {
        ASSERT_TRUE(file.Made) << file.Kind;
        QByteArray bytes("old");
        const unsigned type = FileType(file.Path);
        EXPECT_EQ(ReadPlainFile(file.Path, 65536, bytes), file.Exists ? TFileRead::Unreadable : TFileRead::Missing)
            << file.Kind;
        EXPECT_TRUE(bytes.isEmpty()) << file.Kind;
        EXPECT_EQ(FileExists(file.Path), file.Exists && QByteArray(file.Kind) != "link loop") << file.Kind;
        if (file.Exists) {
            EXPECT_FALSE(ReplaceFile(file.Path, "new")) << file.Kind;
        }
        EXPECT_EQ(FileType(file.Path), type) << file.Kind << ": left as it was";
    }
    // Their stated sizes say nothing of what they hold: the reading is bounded all the same.
    for (const char* name : {"/proc/self/status", "/proc/self/maps", "/sys/kernel/uevent_seqnum"}) {
        QByteArray bytes;
        ReadPlainFile(QString::fromLatin1(name), 16, bytes);
        EXPECT_LE(bytes.size(), 16) << name;
    }
    EXPECT_FALSE(guard.Released()) << "a reader waited on the FIFO";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0) << "no temporary file is left";
}

TEST(PlainFiles, NamesKeepTheirBytes)
{
    const QByteArray names[] = {
        // clang-format off
        "/plain/ascii.mvs", "/home/\xd1\x82\xd0\xb5\xd1\x85/\xf0\x9f\x98\x80.mvs",   // valid UTF-8
        "/a/\xff\xfe.mvs", "\xc3(", "\xc0\xaf", "\xed\xa0\x80", "\xe2\x82", "\xf4\x90\x80\x80", "\x80",
        // clang-format on
    };
    for (const QByteArray& name : names) {
        const QString text = DecodeName(name);
        EXPECT_EQ(EncodeName(text), name) << name.toHex().constData();
        if (QString::fromUtf8(name).toUtf8() == name) {
            EXPECT_EQ(text, QString::fromUtf8(name)) << name.toHex().constData();
        }
    }

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = DecodeName(QFile::encodeName(dir.path()) + "/\xcf\xf0\xe8\xe2\xe5\xf2.mvs");   // cp1251
    ASSERT_TRUE(ReplaceFile(path, "content"));
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(FileExists(path + QChar(0) + QStringLiteral("x")));
    QByteArray read;
    EXPECT_EQ(ReadPlainFile(path, 65536, read), TFileRead::Read);
    EXPECT_EQ(read, "content");
    EXPECT_TRUE(RemoveFile(path));
}
