// The open document without a window: reading it from its scheme and state files, writing them,
// when leaving keeps the state file, and the recent-file list.
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/Catalogue.h"
#include "model/SchemeFiles.h"
#include "ui/Document.h"

namespace {

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
    TDocument document;
};

} // namespace

TEST_F(DocumentTest, ReadsWhatItWroteAndAFailedReadKeepsTheComment)
{
    document.Schemes.push_back(std::make_unique<TDeviceScheme>(QStringLiteral("Кран")));
    document.Schemes.back()->Objects.push_back(std::make_unique<TSchemeObject>(QStringLiteral("Д"), 7u, ModeDisabled));
    FileComment = QStringLiteral("о файле");
    ASSERT_TRUE(document.Write(Path("a.mvs")));
    document.WriteState(Path("a.mvs"), 1, QStringLiteral("Кран"));
    document.WriteState(QString(), 1, QString());   // a name-less document has no state file

    FileComment = QStringLiteral("kept");
    EXPECT_FALSE(TDocument::Read(Path("missing.mvs")));
    EXPECT_EQ(FileComment, QStringLiteral("kept"));

    const auto read = TDocument::Read(Path("a.mvs"));
    ASSERT_TRUE(read);
    EXPECT_EQ(FileComment, QStringLiteral("о файле"));
    EXPECT_TRUE(read->StateRead);
    EXPECT_EQ(read->LineMode, 1);
    EXPECT_EQ(read->SchemeName, QStringLiteral("Кран"));
    ASSERT_EQ(read->Schemes.size(), 1u);
    EXPECT_EQ(read->Schemes[0]->Objects.at(0)->Mode, ModeDisabled);   // the stored mode

    ASSERT_TRUE(QFile::remove(Path("a.mvi")));
    const auto withoutState = TDocument::Read(Path("a.mvs"));
    ASSERT_TRUE(withoutState);
    EXPECT_FALSE(withoutState->StateRead);
    EXPECT_EQ(withoutState->LineMode, -1);
}

TEST_F(DocumentTest, LeavingKeepsTheStateOfAnUnmodifiedMostRecentFileOnly)
{
    document.LastFiles[0] = Path("a.mvs");
    struct { bool modified; const char* file; bool keeps; } const cases[] = {
        {false, "a.mvs", true}, {true, "a.mvs", false}, {false, "b.mvs", false}, {false, "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(document.KeepsStateOnLeave(c.modified, *c.file ? Path(c.file) : QString()), c.keeps) << c.file;
}

TEST_F(DocumentTest, RecentFilesMoveUpDropTheOldestAndCloseGaps)
{
    for (const char* name : {"1", "2", "3", "4", "5", "6"})
        document.AddLastFile(Path(name));
    const auto names = [this] {
        QStringList list;
        for (const QString& f : document.LastFiles)
            list << (f.isEmpty() ? QString() : QFileInfo(f).fileName());
        return list;
    };
    EXPECT_EQ(names(), (QStringList{"6", "5", "4", "3", "2"}));
    document.AddLastFile(Path("3"));
    EXPECT_EQ(names(), (QStringList{"3", "6", "5", "4", "2"}));
    document.RemoveLastFile(1);
    EXPECT_EQ(names(), (QStringList{"3", "5", "4", "2", ""}));
    document.RemoveLastFile(4);   // already empty: nothing moves
    document.RemoveLastFile(0);
    EXPECT_EQ(names(), (QStringList{"5", "4", "2", "", ""}));
}
