// The open document without a window: the name it takes on saving, when leaving keeps the state
// file, what interrupted saves left, the caption, a new document, and the recent-file list.
// Reading back what was written, with or without a state file, is checked through the window's
// document tests.
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "model/Document.h"
#include "model/FileNames.h"
#include "model/LineMode.h"
#include "platform/Files.h"

namespace {

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void TearDown() override { UseUnnamedTemporaries(true); }
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    std::string Entries() const
    {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name).join(u' ').toStdString();
    }
    QTemporaryDir dir;
    TDocument document;
};

}   // namespace

TEST_F(DocumentTest, SaveAsTakesTheNameOnlyOnceWritten)
{
    document.Schemes.push_back(std::make_unique<TDeviceScheme>(QStringLiteral("Кран")));
    EXPECT_FALSE(document.SaveAs(dir.path()));   // a folder: the name stays empty
    EXPECT_TRUE(document.FileName.isEmpty());
    ASSERT_TRUE(document.SaveAs(Path("a.mvs")));
    EXPECT_EQ(document.FileName, Path("a.mvs"));
}

TEST_F(DocumentTest, LeavingKeepsTheStateOfAnUnmodifiedMostRecentFileOnly)
{
    document.LastFiles[0] = Path("a.mvs");
    // clang-format off
    struct { bool modified; const char* file; bool keeps; } const cases[] = {
        {false, "a.mvs", true}, {true, "a.mvs", false}, {false, "b.mvs", false}, {false, "", false},
    };
    // clang-format on
    for (const auto& c : cases) {
        document.FileName = *c.file ? Path(c.file) : QString();
        EXPECT_EQ(document.KeepsStateOnLeave(c.modified), c.keeps) << c.file;
    }
}

namespace {

// A child that ends at the first write of a replacement, as a killed program would.
void KillAtFirstWrite(const std::function<void()>& save)
{
    const pid_t child = ::fork();
    if (child == 0) {
        SetReplaceStepHook([](TReplaceStep step) {
            if (step == TReplaceStep::Write)
                ::_exit(0);
        });
        save();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
}

}   // namespace

// Where the file system names a temporary from the start, a killed save leaves it behind; a
// state that no longer changes is never written again, so its leftover would stay for good.
TEST_F(DocumentTest, LeftoversOfEitherFileGoAtTheNextSaveOfEitherWhetherOrNotItChanged)
{
    document.Schemes.push_back(std::make_unique<TDeviceScheme>(QStringLiteral("Кран")));
    ASSERT_TRUE(document.SaveAs(Path("crane.mvs")));
    document.WriteState(LineModeMaster, QStringLiteral("Кран"));
    const std::string files = "crane.mvi crane.mvs";
    ASSERT_EQ(Entries(), files);
    UseUnnamedTemporaries(false);
    const std::pair<const char*, std::function<void()>> saves[] = {
        {"state, unchanged", [this] { document.WriteState(LineModeMaster, QStringLiteral("Кран")); }},
        {"scheme", [this] { ASSERT_TRUE(document.Save()); }},
    };
    for (const auto& [what, save] : saves) {
        for (const char* name : {"crane.mvs", "crane.mvi"})
            KillAtFirstWrite([this, name] { ReplaceFile(Path(name), "cut", {.ThroughLink = false}); });
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 4) << what << ": a leftover of each";
        save();
        EXPECT_EQ(Entries(), files) << what;
    }
}

// Whether the file is on disk (else saving asks for a name) and the free name a new document
// takes are checked through the window's document tests.
TEST_F(DocumentTest, TheCaptionNamesTheFileAndANewDocumentStartsEmpty)
{
    for (const auto& [file, caption] : {std::pair{"b.c.mvs", "M - b.c"}, {"", "M"}}) {
        document.FileName = *file ? Path(file) : QString();
        EXPECT_EQ(document.Caption(QStringLiteral("M")), QString::fromUtf8(caption));
    }
    document.FileComment = QStringLiteral("о файле");
    document.StartNew();
    EXPECT_TRUE(document.FileComment.isEmpty());
    ASSERT_EQ(document.Schemes.size(), 1u);
    EXPECT_TRUE(document.Schemes[0]->Objects.empty());
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
