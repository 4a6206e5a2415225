#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "model/Catalogue.h"
#include "model/LineMode.h"
#include "model/SchemeFiles.h"
#include "platform/Files.h"
#include "support/HostileFiles.h"

namespace {
// The file comment the cases read and write.
QString FileComment;

QByteArray Image(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (int b : bytes)
        out.append(static_cast<char>(b));
    return out;
}

// "Кран" / "С1": a pressure sensor (type 7: static, emulated, answer body A1 A2) and the
// terminal (type 60, comment "x", disabled: 14 request bytes, three answer bytes).
const QByteArray SampleSchemeImage = Image({
    'M', 'V', '0', '2', 0xCA, 0xF0, 0xE0, 0xED, 0x00,   // magic, comment "Кран"
    0x01, 0x00,                                         // one scheme
    20, 0x00, 0xD1, '1', 0x00, 0x02, 0x00,              // scheme "С1", two objects
    6, 0x00, 0xC4, 0x00, 7, 0x00,                       // "Д", type 7, no comment
    7, 0x00, 'B', 0x00, 60, 'x', 0x00,                  // "B", type 60, comment "x"
});

const QByteArray SampleStateImage = Image({
    'M', 'I', '0', '2', 0x01, 0xD1, '1', 0x00,   // magic, sensors mode, current "С1"
    0x01, 0x00,                                  // one scheme
    35, 0x00, 0x02, 0x00,                        // two objects
    8, 0x00, 7, 0x81, 0, 2, 0xA1, 0xA2,          // type 7, static and emulated, answer body
    23, 0x00, 60, 0x02, 14, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C,
    0x1D, 0x1E, 3, 0xB1, 0xB2, 0xB3,   // type 60, disabled, both bodies
});

// The sample schemes as the scheme file gives them (its comment becomes the file's), and with the
// state file applied.
TSchemeList Sample(bool withState = true)
{
    TSchemeList schemes;
    QString current;
    int lineMode = 0;
    EXPECT_TRUE(ParseSchemeImage(SampleSchemeImage, schemes, FileComment));
    EXPECT_TRUE(!withState || ParseInfoImage(SampleStateImage, schemes, lineMode, current));
    return schemes;
}

class SchemeFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        LineMode = LineModeSensors;
    }
    void TearDown() override { LineMode = savedMode; }
    QString Path(const QString& name) const { return dir.filePath(name); }
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files); }

    QTemporaryDir dir;
    const int savedMode = LineMode.load();
};
}

// The writers are pinned to the literal images, written from what the readers made of them.
TEST_F(SchemeFiles, SchemeFileIsWrittenByteForByteAndReadBack)
{
    const QString path = Path("s.mvs");
    ASSERT_TRUE(SaveSchemeFile(path, Sample(), FileComment));
    EXPECT_EQ(FileBytes(path), SampleSchemeImage);
    EXPECT_EQ(Sample(false)[0]->Objects[0]->Mode, ModeReceive) << "sensor diagnostics: new devices receive";
    LineMode = LineModeMaster;
    EXPECT_EQ(Sample(false)[0]->Objects[0]->Mode, ModeEmulate) << "master diagnostics: new devices emulate";
}

TEST_F(SchemeFiles, StateFileIsWrittenByteForByteAndApplied)
{
    const QString path = Path("s.mvi");
    ASSERT_TRUE(SaveInfoFile(path, Sample(), LineModeSensors, QStringLiteral("С1")));
    EXPECT_EQ(FileBytes(path), SampleStateImage);
}

TEST_F(SchemeFiles, SchemeFileEdgeCases)
{
    const QByteArray one = Image({'M', 'V', '0', '2', 0, 1, 0});   // no comment, one scheme
    // clang-format off
    const struct { const char* what; QByteArray image; bool ok; int schemes; } cases[] = {
        {"other version digits, no schemes", Image({'M', 'V', '1', '7', 0, 0, 0}), true, 0},
        {"wrong letter", Image({'M', 'I', '0', '2', 0, 0, 0}), false, 0},
        {"type 85, the object ends after it", one + Image({10, 0, 'S', 0, 1, 0, 4, 0, 0, 85}), true, 1},
        {"type 86 is no catalogue row", one + Image({10, 0, 'S', 0, 1, 0, 4, 0, 0, 86}), false, 1},
        {"bytes beyond a record are skipped", one + Image({14, 0, 'S', 0, 1, 0, 7, 0, 0, 3, 'c', 0, 0xEE, 0xEE}),
         true, 1},
        {"comment runs out of its record", one + Image({12, 0, 'S', 0, 1, 0, 5, 0, 0, 3, 'c', 0}), false, 1},
        {"scheme record shorter than its fields", one + Image({4, 0, 0, 0, 0}), false, 0},
        {"object count outside its record", one + Image({5, 0, 'S', 0, 5, 0, 0}), false, 1},
        {"object size field cut by its scheme record", one + Image({7, 0, 'S', 0, 1, 0, 4, 0, 0, 3}), false, 1},
        {"object record past its scheme record", one + Image({10, 0, 'S', 0, 1, 0, 5, 0, 0, 3, 0}), false, 1},
    };
    // clang-format on
    for (const auto& c : cases) {
        TSchemeList schemes;
        QString comment;
        EXPECT_EQ(ParseSchemeImage(c.image, schemes, comment), c.ok) << c.what;
        EXPECT_EQ(static_cast<int>(schemes.size()), c.schemes) << c.what;
    }
}

TEST_F(SchemeFiles, StateFileEdgeCases)
{
    const QByteArray head = SampleStateImage.left(14);
    const QByteArray second = SampleStateImage.mid(22);
    // clang-format off
    const struct { const char* what; QByteArray image; bool ok; bool firstApplied; } cases[] = {
        {"object count differs", head.left(12) + Image({3, 0}) + SampleStateImage.mid(14), false, false},
        {"type differs", head + Image({8, 0, 8, 0x81, 0, 2, 0xA1, 0xA2}) + second, false, false},
        {"answer runs out of the record", head + Image({7, 0, 7, 0x81, 0, 2, 0xA1, 0xA2}) + second, false, false},
        {"second object differs", head + SampleStateImage.mid(14, 8) + Image({23, 0, 59}) + second.mid(3), false,
         true},
        {"bytes beyond a record are skipped",
         head.left(10) + Image({37, 0, 2, 0, 10, 0, 7, 0x81, 0, 2, 0xA1, 0xA2, 0xEE, 0xEE}) + second, true, true},
        {"scheme record shorter than its fields", head.left(10) + Image({3, 0, 2, 0}), false, false},
    };
    // clang-format on
    for (const auto& c : cases) {
        TSchemeList schemes = Sample(false);
        int lineMode = -1;
        QString current = QStringLiteral("old");
        EXPECT_EQ(ParseInfoImage(c.image, schemes, lineMode, current), c.ok) << c.what;
        EXPECT_EQ(schemes[0]->Objects[0]->Static == 1, c.firstApplied) << c.what;
        // Objects after a failure keep what they had.
        EXPECT_TRUE(c.ok || schemes[0]->Objects[1]->Mode == ModeReceive) << c.what;
    }
}

// Every truncation fails; no single-byte change stores a type or mode its record cannot hold.
TEST_F(SchemeFiles, DamagedImagesNeverBreakTheReaders)
{
    const QByteArray images[] = {SampleSchemeImage, SampleStateImage};
    for (int which = 0; which < 2; ++which) {
        const auto parse = [which](const QByteArray& image, int& lineMode) {
            TSchemeList loaded = which == 0 ? TSchemeList{} : Sample(false);
            QString text;
            const bool ok = which == 0 ? ParseSchemeImage(image, loaded, text)
                                       : ParseInfoImage(image, loaded, lineMode, text);
            for (const auto& scheme : loaded)
                for (const auto& object : scheme->Objects)
                    EXPECT_TRUE(IsValidType(object->Type) && object->Mode <= ModeDisabled);
            return ok;
        };
        int lineMode = 0;
        for (qsizetype length = 0; length < images[which].size(); ++length)
            ASSERT_FALSE(parse(images[which].left(length), lineMode)) << which << " cut at " << length;
        for (qsizetype at = 0; at < images[which].size(); ++at)
            for (int value = 0; value < 256; ++value) {
                QByteArray image = images[which];
                image[at] = static_cast<char>(value);
                ASSERT_TRUE(!parse(image, lineMode) || lineMode == 0 || lineMode == 1);
            }
    }
}

TEST_F(SchemeFiles, ReadersTakeNoMoreThanTheImageLimit)
{
    ASSERT_TRUE(ReplaceFile(Path("big.mvs"), SampleSchemeImage + QByteArray(70000, '\xEE')));
    TSchemeList schemes;
    EXPECT_TRUE(LoadSchemeFile(Path("big.mvs"), schemes, FileComment));
    // A comment that only ends past the first 65536 bytes does not end at all.
    QString comment;
    EXPECT_FALSE(ParseSchemeImage(QByteArray("MV02") + QByteArray(MaxFileImage, 'a') + Image({0, 0, 0}), schemes,
                                  comment));
}

TEST_F(SchemeFiles, SavingTheSameStateTwiceLeavesTheFileAlone)
{
    const QString path = Path("s.mvi");
    const auto schemes = Sample();
    const QString current = QStringLiteral("С1");
    ASSERT_TRUE(SaveInfoFile(path, schemes, LineModeSensors, current));
    struct stat before {
    }, after{};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
    EXPECT_FALSE(SaveInfoFile(path, schemes, LineModeSensors, current));
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino) << "not replaced";
    QByteArray changed = SampleStateImage;   // same length, one byte different: rewritten
    changed[20] = static_cast<char>(0x55);
    ASSERT_TRUE(ReplaceFile(path, changed));
    EXPECT_TRUE(SaveInfoFile(path, schemes, LineModeSensors, current));
}

TEST_F(SchemeFiles, WritersRefuseWhatTheReadersWouldRejectAndWhatExceedsTheLimit)
{
    const QString path = Path("bad.mvs");
    ASSERT_TRUE(ReplaceFile(path, "old"));
    auto schemes = Sample();
    schemes[0]->Objects[1]->Type = DeviceCatalogueCount;
    EXPECT_FALSE(SaveSchemeFile(path, schemes, FileComment));
    schemes[0]->Objects[1]->Type = 60;
    schemes[0]->Objects[1]->Mode = 3;
    EXPECT_FALSE(SaveInfoFile(Path("bad.mvi"), schemes, LineModeSensors, {}));
    schemes[0]->Objects[1]->Mode = ModeReceive;
    for (int i = 0; i < 3000; ++i)   // 23 bytes each in the state file
        schemes[0]->Objects.push_back(std::make_unique<TSchemeObject>("o", 60, ModeReceive));
    EXPECT_FALSE(SaveInfoFile(Path("bad.mvi"), schemes, LineModeSensors, {}));
    EXPECT_EQ(FileBytes(path), QByteArray("old"));
    EXPECT_EQ(Files(), QStringList{"bad.mvs"});
}

TEST_F(SchemeFiles, ImageLimitCountsEncodedBytes)
{
    // Magic, comment, NUL and count: 65536 bytes exactly with a comment of 65529 characters;
    // Cyrillic letters take one byte each on disk (two in UTF-8).
    const QString path = Path("limit.mvs");
    FileComment = QString(MaxFileImage - 7, QChar(0x0416));
    ASSERT_TRUE(SaveSchemeFile(path, {}, FileComment));
    EXPECT_EQ(QFileInfo(path).size(), MaxFileImage);
    FileComment += QChar(0x0416);
    EXPECT_FALSE(SaveSchemeFile(path, {}, FileComment));
    EXPECT_EQ(QFileInfo(path).size(), MaxFileImage) << "the old file stays";
    EXPECT_EQ(Files(), QStringList{"limit.mvs"}) << "no temporary left";
}

TEST_F(SchemeFiles, ASchemeFileIsSavedThroughALinkAndAStateFileIsNot)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("real"));
    const QString target = Path("real/doc.mvs");
    const QString link = Path("doc.mvs");
    ASSERT_TRUE(ReplaceFile(target, "old"));
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link("real/doc.mvs", link));
    ASSERT_TRUE(SaveSchemeFile(link, Sample(), FileComment));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(FileBytes(target), SampleSchemeImage);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // The state file is written without the user asking: a link there is left alone.
    ASSERT_TRUE(QFile::link("real/doc.mvs", Path("doc.mvi")));
    EXPECT_FALSE(SaveInfoFile(Path("doc.mvi"), Sample(), LineModeSensors, {}));
    EXPECT_EQ(FileBytes(target), SampleSchemeImage);
}

TEST_F(SchemeFiles, AFailedWriteLeavesTheOldFile)
{
    const QString path = Path("full.mvs");
    const QByteArray old = QByteArray("MV02") + QByteArray(3, '\0');
    ASSERT_TRUE(ReplaceFile(path, old));
    // A file size limit makes the write fail half way, as a full disk would.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = saved;
    tight.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    const bool written = SaveSchemeFile(path, Sample(), FileComment);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(FileBytes(path), old);
    EXPECT_EQ(Files(), QStringList{"full.mvs"}) << "no temporary left";
}
