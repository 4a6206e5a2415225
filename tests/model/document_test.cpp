// The open document without a window: reading it from its scheme and state files, saving them,
// when leaving keeps the state file, a new document's name and comment, the caption, and the
// recent-file list.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/Catalogue.h"
#include "model/Document.h"
#include "model/FileNames.h"
#include "model/SchemeFiles.h"

namespace {

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    void Touch(const char* name) const
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QTemporaryDir dir;
    TDocument document;
};

} // namespace

TEST_F(DocumentTest, ReadsWhatItWroteAndAFailedReadKeepsTheComment)
{
    document.Schemes.push_back(std::make_unique<TDeviceScheme>(QStringLiteral("Кран")));
    document.Schemes.back()->Objects.push_back(std::make_unique<TSchemeObject>(QStringLiteral("Д"), 7u, ModeDisabled));
    document.FileComment = QStringLiteral("о файле");
    document.WriteState(1, QStringLiteral("Кран"));   // a name-less document has no state file
    EXPECT_FALSE(document.SaveAs(dir.path()));        // a folder: the name stays empty
    EXPECT_TRUE(document.FileName.isEmpty());
    ASSERT_TRUE(document.SaveAs(Path("a.mvs")));
    EXPECT_EQ(document.FileName, Path("a.mvs"));
    document.WriteState(1, QStringLiteral("Кран"));
    ASSERT_TRUE(document.Save());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"a.mvi", "a.mvs"}));

    TDocument other;
    other.FileComment = QStringLiteral("kept");
    EXPECT_FALSE(other.Read(Path("missing.mvs")));
    EXPECT_EQ(other.FileComment, QStringLiteral("kept"));

    const auto read = other.Read(Path("a.mvs"));
    ASSERT_TRUE(read);
    EXPECT_EQ(other.FileComment, QStringLiteral("о файле"));
    EXPECT_TRUE(read->StateRead);
    EXPECT_EQ(read->LineMode, 1);
    EXPECT_EQ(read->SchemeName, QStringLiteral("Кран"));
    ASSERT_EQ(read->Schemes.size(), 1u);
    EXPECT_EQ(read->Schemes[0]->Objects.at(0)->Mode, ModeDisabled);   // the stored mode

    ASSERT_TRUE(QFile::remove(Path("a.mvi")));
    const auto withoutState = other.Read(Path("a.mvs"));
    ASSERT_TRUE(withoutState);
    EXPECT_FALSE(withoutState->StateRead);
    EXPECT_EQ(withoutState->LineMode, -1);
}

TEST_F(DocumentTest, TheOpenDocumentIsWhatTheProgramsNamesReach)
{
    CurrentFileName = QStringLiteral("/x/Кран.mvs");
    FileComment = QStringLiteral("о файле");
    EXPECT_EQ(OpenDocument.FileName, CurrentFileName);
    EXPECT_EQ(OpenDocument.FileComment, FileComment);
    CurrentFileName.clear();
    FileComment.clear();
}

TEST_F(DocumentTest, LeavingKeepsTheStateOfAnUnmodifiedMostRecentFileOnly)
{
    document.LastFiles[0] = Path("a.mvs");
    struct { bool modified; const char* file; bool keeps; } const cases[] = {
        {false, "a.mvs", true}, {true, "a.mvs", false}, {false, "b.mvs", false}, {false, "", false},
    };
    for (const auto& c : cases) {
        document.FileName = *c.file ? Path(c.file) : QString();
        EXPECT_EQ(document.KeepsStateOnLeave(c.modified), c.keeps) << c.file;
    }
}

TEST_F(DocumentTest, TheFileOnDiskNamesTheCaptionAndANewDocument)
{
    Touch("Кран.mvs");
    Touch("Кран1.mvs");
    // file, on disk, caption, the name a new document takes
    struct { QString file; bool onDisk; const char* caption; QString renamed; } const cases[] = {
        {Path("Кран.mvs"), true, "M - Кран", Path("Кран2.mvs")},
        {Path("Кран5.mvs"), false, "M - Кран5", Path("Кран5.mvs")},
        {Path("b.c.mvs"), false, "M - b.c", Path("b.c.mvs")},
        {QString(), false, "M", QString()},
    };
    for (const auto& c : cases) {
        document.FileName = c.file;
        document.FileComment = QStringLiteral("о файле");
        EXPECT_EQ(document.HasFile(), c.onDisk) << c.caption;
        EXPECT_EQ(document.Caption(QStringLiteral("M")), QString::fromUtf8(c.caption));
        document.StartNew();
        EXPECT_EQ(document.FileName, c.renamed) << c.caption;
        EXPECT_TRUE(document.FileComment.isEmpty());
        ASSERT_EQ(document.Schemes.size(), 1u);
        EXPECT_EQ(document.Schemes[0]->Name, QStringLiteral("Схема 1"));
        EXPECT_TRUE(document.Schemes[0]->Objects.empty());
    }
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
    EXPECT_EQ(document.LastFile(0), Path("5"));
    for (int outside : {-1, 3, 5})
        EXPECT_TRUE(document.LastFile(outside).isEmpty()) << outside;
}
