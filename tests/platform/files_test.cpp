// Files named by users and by other files: only plain files are read or replaced, nothing blocks,
// and a name keeps its bytes whether or not they are UTF-8.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

namespace {

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

std::vector<TReplaceStep> StepsSeen;
TReplaceStep KillAt;

}   // namespace

TEST(PlainFiles, WhatTheUserMayNotWriteAndALinkNotToBeFollowedAreLeftAlone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid() && SetMode(dir.path(), 0777));
    const QString locked = dir.filePath("locked.mvs"), shut = dir.filePath("shut"), open = shut + "/open.mvs";
    const QString victim = dir.filePath("victim.txt"), link = dir.filePath("doc.mvi");
    ASSERT_TRUE(ReplaceFile(locked, "old") && SetMode(locked, 0444));
    ASSERT_TRUE(MakeFolders(shut) && ReplaceFile(open, "old") && SetMode(open, 0666) && SetMode(shut, 0555));
    ASSERT_TRUE(ReplaceFile(victim, "old") && QFile::link(victim, link));
    // clang-format off
    const struct { const char* what; QString path; TReplaceRules rules; QString kept; } cases[] = {
        {"a read-only file", locked, {}, locked},
        {"a writable file in a read-only folder: never written in place", open, {}, open},
        {"a link that is not to be followed", link, {.ThroughLink = false}, victim},
    };
    // clang-format on
    {
        const TOrdinaryUser user;
        for (const auto& c : cases) {
            EXPECT_FALSE(ReplaceFile(c.path, "new", c.rules)) << c.what;
            EXPECT_EQ(FileBytes(c.kept), "old") << c.what;
        }
    }
    EXPECT_EQ(FileType(link), unsigned(S_IFLNK));
    ASSERT_TRUE(SetMode(shut, 0755));
    EXPECT_EQ(Entries(shut), QStringList{"open.mvs"});
    EXPECT_EQ(Entries(dir.path()), (QStringList{"doc.mvi", "locked.mvs", "shut", "victim.txt"}));
}

// A kill is played by a child that ends at the step, as a killed program would; both where the
// temporary has no name while it is written and where the file system makes it named from the
// start.
TEST(PlainFiles, ASaveIsSyncedBeforeItsRenameAndAKillAtAnyStepLeavesAWholeFileAndNoTemporary)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("crane.mvi");
    const QByteArray old(5000, 'o'), next(7000, 'n');
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed" : "named");
        UseUnnamedTemporaries(unnamed);
        StepsSeen.clear();
        SetReplaceStepHook([](TReplaceStep step) { StepsSeen.push_back(step); });
        ASSERT_TRUE(ReplaceFile(path, old));
        SetReplaceStepHook(nullptr);
        const auto at = [](TReplaceStep step) { return std::find(StepsSeen.begin(), StepsSeen.end(), step); };
        EXPECT_LT(at(TReplaceStep::Write), at(TReplaceStep::SyncFile));
        EXPECT_LT(at(TReplaceStep::SyncFile), at(TReplaceStep::Rename));
        EXPECT_EQ(StepsSeen.back(), TReplaceStep::SyncFolder);
        EXPECT_EQ(at(TReplaceStep::Name) != StepsSeen.end(), unnamed) << "an unnamed file is named before its rename";
        for (TReplaceStep step : StepsSeen) {
            KillAt = step;
            const pid_t child = ::fork();
            if (child == 0) {
                SetReplaceStepHook([](TReplaceStep now) {
                    if (now == KillAt)
                        ::_exit(0);
                });
                ReplaceFile(path, next);
                ::_exit(0);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            const QByteArray held = FileBytes(path);
            EXPECT_TRUE(held == old || held == next) << int(step);
            ASSERT_TRUE(ReplaceFile(path, old));
            EXPECT_EQ(Entries(dir.path()), QStringList{"crane.mvi"}) << int(step);
        }
    }
    UseUnnamedTemporaries(true);
}

TEST(PlainFiles, NamesKeepTheirBytes)
{
    const QByteArray names[] = {
        // clang-format off
        "/plain/ascii.mvs", "/home/\xd1\x82\xd0\xb5\xd1\x85/\xf0\x9f\x98\x80.mvs",   // valid UTF-8
        "/\xd0\xbf\xed\x9f\xbf\xf4\x8f\xbf\xbf",   // valid, each second byte at the top of its range
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
    EXPECT_FALSE(ReplaceFile(path + QChar(0) + QStringLiteral("x"), "other"));   // never cut at the NUL
    QByteArray read;
    EXPECT_EQ(ReadPlainFile(path, 65536, read), TFileRead::Read);
    EXPECT_EQ(read, "content");
    EXPECT_TRUE(RemoveFile(path));
    EXPECT_TRUE(ReplaceFile(dir.filePath(QString(255, QLatin1Char('x'))), "the longest name a folder takes"));
    EXPECT_EQ(Entries(dir.path()).size(), 1);
}
