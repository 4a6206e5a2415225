#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/Catalogue.h"
#include "model/LineMode.h"
#include "model/SchemeFiles.h"

namespace {
QByteArray Image(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (int b : bytes)
        out.append(static_cast<char>(b));
    return out;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

TSchemeObject& AddObject(TDeviceScheme& scheme, const QString& name, std::uint32_t type, const QString& comment = {})
{
    auto& object = *scheme.Objects.emplace_back(std::make_unique<TSchemeObject>(name, type, ModeReceive));
    object.Comment = comment;
    return object;
}

// "Кран" / "С1": a pressure sensor (no request body, two answer bytes) and the terminal (14
// request bytes, three answer bytes).
TSchemeList SampleSchemes()
{
    TSchemeList schemes;
    auto& scheme = *schemes.emplace_back(std::make_unique<TDeviceScheme>(QStringLiteral("С1")));
    auto& sensor = AddObject(scheme, QStringLiteral("Д"), 7);
    sensor.Mode = ModeEmulate;
    sensor.Static = 1;
    sensor.Answer = {0x06, 0xA1, 0xA2, 0x77};
    auto& tty = AddObject(scheme, QStringLiteral("B"), 60, QStringLiteral("x"));
    tty.Mode = ModeDisabled;
    for (int i = 0; i < 16; ++i)
        tty.Request[i] = static_cast<std::uint8_t>(0x10 + i);
    tty.Answer = {0x3E, 0xB1, 0xB2, 0xB3, 0x99};
    return schemes;
}

const QByteArray SampleSchemeImage = Image({
    'M', 'V', '0', '2', 0xCA, 0xF0, 0xE0, 0xED, 0x00,  // magic, comment "Кран"
    0x01, 0x00,                                        // one scheme
    20, 0x00, 0xD1, '1', 0x00, 0x02, 0x00,             // scheme "С1", two objects
    6, 0x00, 0xC4, 0x00, 7, 0x00,                      // "Д", type 7, no comment
    7, 0x00, 'B', 0x00, 60, 'x', 0x00,                 // "B", type 60, comment "x"
});

const QByteArray SampleStateImage = Image({
    'M', 'I', '0', '2', 0x01, 0xD1, '1', 0x00,  // magic, sensors mode, current "С1"
    0x01, 0x00,                                 // one scheme
    35, 0x00, 0x02, 0x00,                       // two objects
    8, 0x00, 7, 0x81, 0, 2, 0xA1, 0xA2,         // type 7, static and emulated, answer body
    23, 0x00, 60, 0x02, 14, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C,
    0x1D, 0x1E, 3, 0xB1, 0xB2, 0xB3,            // type 60, disabled, both bodies
});

// The schemes as the scheme file gives them, before the state file is applied.
TSchemeList LoadedSample()
{
    TSchemeList schemes;
    QString comment;
    EXPECT_TRUE(ParseSchemeImage(SampleSchemeImage, schemes, comment));
    return schemes;
}

class SchemeFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        savedMode = LineMode.load();
        LineMode = LineModeSensors;
        FileComment = QStringLiteral("Кран");
    }
    void TearDown() override
    {
        LineMode = savedMode;
        FileComment.clear();
    }
    QString Path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    int savedMode = 0;
};
}

TEST(IsTerminatedWithin, LooksForANulInsideTheSpan)
{
    const std::uint8_t bytes[] = {'a', 'b', 0, 'c'};
    EXPECT_TRUE(IsTerminatedWithin(bytes, bytes + 4));
    EXPECT_TRUE(IsTerminatedWithin(bytes + 2, bytes + 3));
    EXPECT_FALSE(IsTerminatedWithin(bytes, bytes + 2));
    EXPECT_FALSE(IsTerminatedWithin(bytes + 3, bytes + 4));
    EXPECT_FALSE(IsTerminatedWithin(bytes + 2, bytes + 2));
    EXPECT_FALSE(IsTerminatedWithin(bytes + 3, bytes + 1));
    EXPECT_FALSE(IsTerminatedWithin(nullptr, nullptr));
}

TEST_F(SchemeFiles, SchemeFileIsWrittenByteForByteAndReadBack)
{
    const QString path = Path("a.mvs");
    ASSERT_TRUE(SaveSchemeFile(path, SampleSchemes()));
    EXPECT_EQ(ReadAll(path), SampleSchemeImage);

    FileComment.clear();
    TSchemeList loaded;
    ASSERT_TRUE(LoadSchemeFile(path, loaded));
    EXPECT_EQ(FileComment, QStringLiteral("Кран"));
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0]->Name, QStringLiteral("С1"));
    ASSERT_EQ(loaded[0]->Objects.size(), 2u);
    const auto& sensor = *loaded[0]->Objects[0];
    const auto& tty = *loaded[0]->Objects[1];
    EXPECT_EQ(sensor.Name, QStringLiteral("Д"));
    EXPECT_EQ(sensor.Type, 7u);
    EXPECT_EQ(sensor.Comment, QString());
    EXPECT_EQ(tty.Name, QStringLiteral("B"));
    EXPECT_EQ(tty.Type, 60u);
    EXPECT_EQ(tty.Comment, QStringLiteral("x"));
    for (const auto* object : {&sensor, &tty}) {
        EXPECT_EQ(object->Mode, ModeReceive) << "sensor diagnostics: new devices receive";
        EXPECT_EQ(object->Static, 0);
        EXPECT_EQ(object->Request, TMessageImage{});
        EXPECT_EQ(object->Answer, TMessageImage{});
    }
}

TEST_F(SchemeFiles, NewObjectsEmulateInMasterDiagnostics)
{
    LineMode = LineModeMaster;
    TSchemeList loaded;
    QString comment;
    ASSERT_TRUE(ParseSchemeImage(SampleSchemeImage, loaded, comment));
    EXPECT_EQ(loaded[0]->Objects[0]->Mode, ModeEmulate);
}

TEST_F(SchemeFiles, StateFileIsWrittenByteForByteAndApplied)
{
    const QString path = Path("a.mvi");
    ASSERT_TRUE(SaveInfoFile(path, SampleSchemes(), LineModeSensors, QStringLiteral("С1")));
    EXPECT_EQ(ReadAll(path), SampleStateImage);

    TSchemeList loaded = LoadedSample();
    int lineMode = -1;
    QString current;
    ASSERT_TRUE(LoadInfoFile(path, loaded, lineMode, current));
    EXPECT_EQ(lineMode, LineModeSensors);
    EXPECT_EQ(current, QStringLiteral("С1"));
    const auto& sensor = *loaded[0]->Objects[0];
    const auto& tty = *loaded[0]->Objects[1];
    EXPECT_EQ(sensor.Mode, ModeEmulate);
    EXPECT_EQ(sensor.Static, 1);
    EXPECT_EQ(sensor.Answer, (TMessageImage{0, 0xA1, 0xA2}));
    EXPECT_EQ(sensor.Request, TMessageImage{});
    EXPECT_EQ(tty.Mode, ModeDisabled);
    EXPECT_EQ(tty.Static, 0);
    TMessageImage request{};
    for (int i = 1; i <= 14; ++i)
        request[i] = static_cast<std::uint8_t>(0x10 + i);
    EXPECT_EQ(tty.Request, request) << "address and XOR bytes are not stored";
    EXPECT_EQ(tty.Answer, (TMessageImage{0, 0xB1, 0xB2, 0xB3}));
}

TEST_F(SchemeFiles, ManySchemesRoundTrip)
{
    TSchemeList schemes;
    for (int s = 0; s < 20; ++s) {
        auto& scheme = *schemes.emplace_back(std::make_unique<TDeviceScheme>(QStringLiteral("Схема %1").arg(s)));
        for (int o = 0; o < s; ++o) {
            auto& object = AddObject(scheme, QStringLiteral("Устройство %1").arg(o), (s * 7 + o) % DeviceCatalogueCount,
                                     o % 3 ? QStringLiteral("Примечание №%1").arg(o) : QString());
            object.Mode = static_cast<std::uint8_t>(o % 3);
            object.Static = static_cast<std::uint8_t>(o % 2);
            const TFrameInfo& row = DeviceCatalogue[object.Type];
            for (int i = 1; i + 1 < row.RequestLength; ++i)
                object.Request[i] = static_cast<std::uint8_t>(s + o + i);
            for (int i = 1; i + 1 < row.AnswerLength; ++i)
                object.Answer[i] = static_cast<std::uint8_t>(0xF0 - i - o);
        }
    }
    const auto schemeImage = BuildSchemeImage(schemes, FileComment);
    const auto stateImage = BuildInfoImage(schemes, LineModeMaster, QStringLiteral("Схема 3"));
    ASSERT_TRUE(schemeImage && stateImage);

    TSchemeList loaded;
    QString comment;
    int lineMode = -1;
    QString current;
    ASSERT_TRUE(ParseSchemeImage(*schemeImage, loaded, comment));
    ASSERT_TRUE(ParseInfoImage(*stateImage, loaded, lineMode, current));
    EXPECT_EQ(lineMode, LineModeMaster);
    EXPECT_EQ(current, QStringLiteral("Схема 3"));
    ASSERT_EQ(loaded.size(), schemes.size());
    for (std::size_t s = 0; s < schemes.size(); ++s) {
        EXPECT_EQ(loaded[s]->Name, schemes[s]->Name);
        ASSERT_EQ(loaded[s]->Objects.size(), schemes[s]->Objects.size());
        for (std::size_t o = 0; o < schemes[s]->Objects.size(); ++o) {
            const auto& a = *schemes[s]->Objects[o];
            const auto& b = *loaded[s]->Objects[o];
            EXPECT_EQ(b.Name, a.Name);
            EXPECT_EQ(b.Type, a.Type);
            EXPECT_EQ(b.Comment, a.Comment);
            EXPECT_EQ(b.Mode, a.Mode);
            EXPECT_EQ(b.Static, a.Static);
            EXPECT_EQ(b.Request, a.Request);
            EXPECT_EQ(b.Answer, a.Answer);
        }
    }
    EXPECT_EQ(BuildSchemeImage(loaded, comment), schemeImage);
    EXPECT_EQ(BuildInfoImage(loaded, LineModeMaster, current), stateImage);
}

TEST_F(SchemeFiles, SchemeFileEdgeCases)
{
    const struct {
        const char* what;
        QByteArray image;
        bool ok;
        int schemes;
    } cases[] = {
        {"seven bytes: no schemes", Image({'M', 'V', '0', '2', 0, 0, 0}), true, 0},
        {"other version digits", Image({'M', 'V', '1', '7', 0, 0, 0}), true, 0},
        {"six bytes", Image({'M', 'V', '0', '2', 0, 0}), false, 0},
        {"wrong letter", Image({'M', 'I', '0', '2', 0, 0, 0}), false, 0},
        {"letter for a digit", Image({'M', 'V', '0', 'a', 0, 0, 0}), false, 0},
        {"comment without NUL", Image({'M', 'V', '0', '2', 'a', 'b', 'c'}), false, 0},
        {"count missing", Image({'M', 'V', '0', '2', 'a', 'b', 0, 0}), false, 0},
        {"empty scheme", Image({'M', 'V', '0', '2', 0, 1, 0, 6, 0, 'S', 0, 0, 0}), true, 1},
        {"object ends after its type",
         Image({'M', 'V', '0', '2', 0, 1, 0, 10, 0, 'S', 0, 1, 0, 4, 0, 0, 3}), true, 1},
        {"type 85", Image({'M', 'V', '0', '2', 0, 1, 0, 10, 0, 'S', 0, 1, 0, 4, 0, 0, 85}), true, 1},
        {"type 86", Image({'M', 'V', '0', '2', 0, 1, 0, 10, 0, 'S', 0, 1, 0, 4, 0, 0, 86}), false, 1},
        {"type 255", Image({'M', 'V', '0', '2', 0, 1, 0, 10, 0, 'S', 0, 1, 0, 4, 0, 0, 255}), false, 1},
        {"scheme record past the data by one", Image({'M', 'V', '0', '2', 0, 1, 0, 11, 0, 'S', 0, 1, 0, 4, 0, 0, 3}),
         false, 0},
        {"bytes beyond a record are skipped",
         Image({'M', 'V', '0', '2', 0, 1, 0, 14, 0, 'S', 0, 1, 0, 7, 0, 0, 3, 'c', 0, 0xEE, 0xEE}), true, 1},
        {"comment runs out of its record",
         Image({'M', 'V', '0', '2', 0, 1, 0, 12, 0, 'S', 0, 1, 0, 5, 0, 0, 3, 'c', 0}), false, 1},
        {"scheme record past the data", Image({'M', 'V', '0', '2', 0, 1, 0, 6, 0, 'S', 0, 0}), false, 0},
        {"scheme record shorter than its fields", Image({'M', 'V', '0', '2', 0, 1, 0, 4, 0, 0, 0, 0}), false, 0},
        {"scheme size field cut by the end", Image({'M', 'V', '0', '2', 0, 1, 0, 5}), false, 0},
        {"object count outside its record",
         Image({'M', 'V', '0', '2', 0, 1, 0, 5, 0, 'S', 0, 5, 0, 0}), false, 1},
        {"object record shorter than its fields",
         Image({'M', 'V', '0', '2', 0, 1, 0, 10, 0, 'S', 0, 1, 0, 3, 0, 0, 3}), false, 1},
        {"object size field cut by its scheme record",
         Image({'M', 'V', '0', '2', 0, 1, 0, 7, 0, 'S', 0, 1, 0, 4, 0, 0, 3}), false, 1},
        {"object record past its scheme record",
         Image({'M', 'V', '0', '2', 0, 1, 0, 10, 0, 'S', 0, 1, 0, 5, 0, 0, 3, 0}), false, 1},
        {"object name without NUL", Image({'M', 'V', '0', '2', 0, 1, 0, 10, 0, 'S', 0, 1, 0, 4, 0, 'n', 3}), false, 1},
        {"second scheme missing", Image({'M', 'V', '0', '2', 0, 2, 0, 6, 0, 'S', 0, 0, 0}), false, 1},
    };
    for (const auto& c : cases) {
        TSchemeList schemes;
        QString comment = QStringLiteral("old");
        EXPECT_EQ(ParseSchemeImage(c.image, schemes, comment), c.ok) << c.what;
        EXPECT_EQ(static_cast<int>(schemes.size()), c.schemes) << c.what;
        for (const auto& scheme : schemes)
            for (const auto& object : scheme->Objects)
                EXPECT_TRUE(IsValidType(object->Type)) << c.what;
    }
}

TEST_F(SchemeFiles, ObjectEndingAfterItsTypeHasAnEmptyComment)
{
    TSchemeList schemes;
    QString comment;
    ASSERT_TRUE(ParseSchemeImage(Image({'M', 'V', '0', '2', 'c', 0, 1, 0, 10, 0, 'S', 0, 1, 0, 4, 0, 0, 3}),
                                 schemes, comment));
    EXPECT_EQ(comment, QStringLiteral("c"));
    ASSERT_EQ(schemes[0]->Objects.size(), 1u);
    EXPECT_EQ(schemes[0]->Objects[0]->Name, QString());
    EXPECT_EQ(schemes[0]->Objects[0]->Type, 3u);
    EXPECT_EQ(schemes[0]->Objects[0]->Comment, QString());
}

TEST_F(SchemeFiles, SchemesReadBeforeAFailureStayInTheList)
{
    QByteArray image = SampleSchemeImage;
    image[28] = static_cast<char>(86);  // the second object's type
    TSchemeList schemes;
    QString comment;
    EXPECT_FALSE(ParseSchemeImage(image, schemes, comment));
    ASSERT_EQ(schemes.size(), 1u);
    ASSERT_EQ(schemes[0]->Objects.size(), 2u);
    EXPECT_EQ(schemes[0]->Objects[0]->Type, 7u);
    EXPECT_TRUE(IsValidType(schemes[0]->Objects[1]->Type)) << "an invalid type is never stored";
}

TEST_F(SchemeFiles, StateFileEdgeCases)
{
    const QByteArray head = Image({'M', 'I', '0', '2', 0x01, 0xD1, '1', 0x00, 0x01, 0x00, 35, 0x00, 0x02, 0x00});
    const QByteArray second = SampleStateImage.mid(22);
    const struct {
        const char* what;
        QByteArray image;
        bool ok;
        bool firstApplied;
    } cases[] = {
        {"sample", SampleStateImage, true, true},
        {"other version digits", QByteArray("MI71") + SampleStateImage.mid(4), true, true},
        {"wrong letter", QByteArray("MV02") + SampleStateImage.mid(4), false, false},
        {"line mode 2", Image({'M', 'I', '0', '2', 2}) + SampleStateImage.mid(5), false, false},
        {"seven bytes", SampleStateImage.left(7), false, false},
        {"scheme count differs", SampleStateImage.left(8) + Image({2, 0}) + SampleStateImage.mid(10), false, false},
        {"object count differs", head.left(12) + Image({3, 0}) + SampleStateImage.mid(14), false, false},
        {"type differs", head + Image({8, 0, 8, 0x81, 0, 2, 0xA1, 0xA2}) + second, false, false},
        {"mode 3", head + Image({8, 0, 7, 0x83, 0, 2, 0xA1, 0xA2}) + second, false, false},
        {"request body of 15", head + Image({8, 0, 7, 0x81, 15, 2, 0xA1, 0xA2}) + second, false, false},
        {"answer body of 15", head + Image({8, 0, 7, 0x81, 0, 15, 0xA1, 0xA2}) + second, false, false},
        {"answer runs out of the record", head + Image({7, 0, 7, 0x81, 0, 2, 0xA1, 0xA2}) + second, false, false},
        {"object record shorter than its fields", head + Image({5, 0, 7, 0x81, 0, 2, 0xA1, 0xA2}) + second, false,
         false},
        {"second object differs", head + SampleStateImage.mid(14, 8) + Image({23, 0, 59}) + second.mid(3), false,
         true},
        {"bytes beyond a record are skipped",
         Image({'M', 'I', '0', '2', 0x01, 0xD1, '1', 0x00, 0x01, 0x00, 37, 0x00, 0x02, 0x00}) +
             Image({10, 0, 7, 0x81, 0, 2, 0xA1, 0xA2, 0xEE, 0xEE}) + second,
         true, true},
        {"scheme record shorter than its fields", head.left(10) + Image({3, 0, 2, 0}), false, false},
        {"scheme record past the data", SampleStateImage.left(SampleStateImage.size() - 1), false, false},
    };
    for (const auto& c : cases) {
        TSchemeList schemes = LoadedSample();
        int lineMode = -1;
        QString current = QStringLiteral("old");
        EXPECT_EQ(ParseInfoImage(c.image, schemes, lineMode, current), c.ok) << c.what;
        const auto& first = *schemes[0]->Objects[0];
        const auto& last = *schemes[0]->Objects[1];
        EXPECT_EQ(first.Static == 1, c.firstApplied) << c.what;
        if (!c.ok) {
            EXPECT_EQ(last.Mode, ModeReceive) << c.what << ": objects after a failure keep what they had";
            EXPECT_EQ(last.Request, TMessageImage{}) << c.what;
        }
    }
}

TEST_F(SchemeFiles, StateFileWithLineModeTwoChangesNothing)
{
    QByteArray image = SampleStateImage;
    image[4] = 2;
    TSchemeList schemes = LoadedSample();
    int lineMode = -1;
    QString current = QStringLiteral("old");
    EXPECT_FALSE(ParseInfoImage(image, schemes, lineMode, current));
    EXPECT_EQ(lineMode, -1);
    EXPECT_EQ(current, QStringLiteral("old"));
    EXPECT_EQ(schemes[0]->Objects[0]->Mode, ModeReceive);
}

TEST_F(SchemeFiles, EveryTruncationIsRejected)
{
    for (qsizetype length = 0; length < SampleSchemeImage.size(); ++length) {
        TSchemeList schemes;
        QString comment;
        EXPECT_FALSE(ParseSchemeImage(SampleSchemeImage.left(length), schemes, comment)) << length;
    }
    for (qsizetype length = 0; length < SampleStateImage.size(); ++length) {
        TSchemeList schemes = LoadedSample();
        int lineMode = 0;
        QString current;
        EXPECT_FALSE(ParseInfoImage(SampleStateImage.left(length), schemes, lineMode, current)) << length;
    }
}

TEST_F(SchemeFiles, SingleByteChangesNeverBreakTheReaders)
{
    const auto schemes = SampleSchemes();
    const QByteArray images[] = {SampleSchemeImage, *BuildSchemeImage(schemes, QStringLiteral("к")), SampleStateImage};
    for (int which = 0; which < 3; ++which) {
        const QByteArray& valid = images[which];
        for (qsizetype at = 0; at < valid.size(); ++at)
            for (int value = 0; value < 256; ++value) {
                QByteArray image = valid;
                image[at] = static_cast<char>(value);
                TSchemeList loaded = which < 2 ? TSchemeList{} : LoadedSample();
                QString text;
                int lineMode = 0;
                const bool ok = which < 2 ? ParseSchemeImage(image, loaded, text)
                                          : ParseInfoImage(image, loaded, lineMode, text);
                for (const auto& scheme : loaded)
                    for (const auto& object : scheme->Objects) {
                        ASSERT_TRUE(IsValidType(object->Type));
                        ASSERT_LE(object->Mode, ModeDisabled);
                    }
                if (ok && which == 2) {
                    ASSERT_TRUE(lineMode == 0 || lineMode == 1);
                }
            }
    }
}

TEST_F(SchemeFiles, ReadersTakeNoMoreThanTheImageLimit)
{
    QByteArray padded = SampleSchemeImage;
    padded.append(QByteArray(70000, '\xEE'));
    const QString path = Path("big.mvs");
    ASSERT_TRUE(WriteAll(path, padded));
    TSchemeList schemes;
    EXPECT_TRUE(LoadSchemeFile(path, schemes));

    // A comment that only ends past the first 65536 bytes does not end at all.
    QByteArray longComment = QByteArray("MV02") + QByteArray(MaxFileImage, 'a') + Image({0, 0, 0});
    TSchemeList none;
    QString comment;
    EXPECT_FALSE(ParseSchemeImage(longComment, none, comment));
}

TEST_F(SchemeFiles, FilesThatCannotBeReadFail)
{
    TSchemeList schemes;
    int lineMode = 0;
    QString current;
    EXPECT_FALSE(LoadSchemeFile(Path("missing.mvs"), schemes));
    EXPECT_FALSE(LoadInfoFile(Path("missing.mvi"), schemes, lineMode, current));
    EXPECT_FALSE(LoadSchemeFile(dir.path(), schemes)) << "a folder";
    EXPECT_FALSE(LoadSchemeFile(QString(), schemes));
    const QString empty = Path("empty.mvs");
    ASSERT_TRUE(WriteAll(empty, {}));
    EXPECT_FALSE(LoadSchemeFile(empty, schemes));
    EXPECT_TRUE(schemes.empty());
}

TEST_F(SchemeFiles, SavingTheSameStateTwiceLeavesTheFileAlone)
{
    const QString path = Path("s.mvi");
    const auto schemes = SampleSchemes();
    ASSERT_TRUE(SaveInfoFile(path, schemes, LineModeSensors, QStringLiteral("С1")));
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
    EXPECT_FALSE(SaveInfoFile(path, schemes, LineModeSensors, QStringLiteral("С1")));
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino) << "not replaced";
    EXPECT_EQ(ReadAll(path), SampleStateImage);

    EXPECT_TRUE(SaveInfoFile(path, schemes, LineModeMaster, QStringLiteral("С1")));
    EXPECT_EQ(ReadAll(path)[4], 0);
    // Same length, one byte different: rewritten.
    QByteArray changed = SampleStateImage;
    changed[20] = static_cast<char>(0x55);
    ASSERT_TRUE(WriteAll(path, changed));
    EXPECT_TRUE(SaveInfoFile(path, schemes, LineModeSensors, QStringLiteral("С1")));
    EXPECT_EQ(ReadAll(path), SampleStateImage);
}

TEST_F(SchemeFiles, WritersRefuseWhatTheReadersWouldReject)
{
    const QString path = Path("bad.mvs");
    ASSERT_TRUE(WriteAll(path, "old"));
    auto schemes = SampleSchemes();
    schemes[0]->Objects[1]->Type = DeviceCatalogueCount;
    EXPECT_FALSE(SaveSchemeFile(path, schemes));
    EXPECT_FALSE(SaveInfoFile(Path("bad.mvi"), schemes, LineModeSensors, {}));
    schemes[0]->Objects[1]->Type = 60;
    schemes[0]->Objects[1]->Mode = 3;
    EXPECT_FALSE(SaveInfoFile(Path("bad.mvi"), schemes, LineModeSensors, {}));
    schemes[0]->Objects[1]->Mode = ModeReceive;
    EXPECT_FALSE(SaveInfoFile(Path("bad.mvi"), schemes, 2, {}));
    EXPECT_EQ(ReadAll(path), QByteArray("old"));
    EXPECT_FALSE(QFileInfo::exists(Path("bad.mvi")));
}

TEST_F(SchemeFiles, ImageLimitCountsEncodedBytes)
{
    // Magic, comment, NUL and count: 65536 bytes exactly with a comment of 65529 characters;
    // Cyrillic letters take one byte each on disk (two in UTF-8).
    const QString path = Path("limit.mvs");
    FileComment = QString(MaxFileImage - 7, QChar(0x0416));
    ASSERT_TRUE(SaveSchemeFile(path, {}));
    EXPECT_EQ(QFileInfo(path).size(), MaxFileImage);
    TSchemeList schemes;
    FileComment.clear();
    ASSERT_TRUE(LoadSchemeFile(path, schemes));
    EXPECT_EQ(FileComment.size(), MaxFileImage - 7);

    FileComment += QChar(0x0416);
    EXPECT_FALSE(SaveSchemeFile(path, {}));
    EXPECT_EQ(QFileInfo(path).size(), MaxFileImage) << "the old file stays";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"limit.mvs"}) << "no temporary left";
}

TEST_F(SchemeFiles, OversizedStateImageIsNotWritten)
{
    TSchemeList schemes;
    auto& scheme = *schemes.emplace_back(std::make_unique<TDeviceScheme>(QStringLiteral("S")));
    for (int i = 0; i < 4000; ++i)
        AddObject(scheme, QStringLiteral("o"), 60);  // 23 bytes each in the state file
    EXPECT_FALSE(BuildInfoImage(schemes, LineModeSensors, {}));
    EXPECT_FALSE(SaveInfoFile(Path("big.mvi"), schemes, LineModeSensors, {}));
    EXPECT_FALSE(QFileInfo::exists(Path("big.mvi")));
}

TEST_F(SchemeFiles, SavingThroughASymbolicLinkReplacesItsTarget)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("real"));
    const QString target = Path("real/doc.mvs");
    const QString link = Path("doc.mvs");
    ASSERT_TRUE(WriteAll(target, "old"));
    ASSERT_TRUE(QFile::link("real/doc.mvs", link));
    ASSERT_TRUE(SaveSchemeFile(link, SampleSchemes()));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadAll(target), SampleSchemeImage);
    ASSERT_TRUE(SaveInfoFile(link, SampleSchemes(), LineModeSensors, QStringLiteral("С1")));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadAll(target), SampleStateImage);
}

TEST_F(SchemeFiles, SavingKeepsTheOldFilesPermissions)
{
    const QString path = Path("perm.mvs");
    ASSERT_TRUE(WriteAll(path, "old"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(SaveSchemeFile(path, SampleSchemes()));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(SchemeFiles, AFailedWriteLeavesTheOldFile)
{
    const QString path = Path("full.mvs");
    const QByteArray old = QByteArray("MV02") + QByteArray(3, '\0');
    ASSERT_TRUE(WriteAll(path, old));
    // A file size limit makes the write fail half way, as a full disk would.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = saved;
    tight.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    const bool saved1 = SaveSchemeFile(path, SampleSchemes());
    const bool saved2 = SaveInfoFile(path, SampleSchemes(), LineModeSensors, QStringLiteral("С1"));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved1);
    EXPECT_FALSE(saved2);
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"full.mvs"}) << "no temporary left";
}

TEST_F(SchemeFiles, AnUnwritableFolderLeavesTheOldFile)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("locked"));
    const QString folder = Path("locked");
    const QString path = Path("locked/doc.mvs");
    ASSERT_TRUE(WriteAll(path, "old"));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    if (::access(QFile::encodeName(folder).constData(), W_OK) == 0) {
        ::chmod(QFile::encodeName(folder).constData(), 0755);
        GTEST_SKIP() << "this user may write into any folder";
    }
    EXPECT_FALSE(SaveSchemeFile(path, SampleSchemes()));
    EXPECT_FALSE(SaveInfoFile(path, SampleSchemes(), LineModeSensors, {}));
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    EXPECT_EQ(ReadAll(path), QByteArray("old"));
}

TEST_F(SchemeFiles, SavingIntoAMissingFolderFails)
{
    EXPECT_FALSE(SaveSchemeFile(Path("no/such/doc.mvs"), SampleSchemes()));
    EXPECT_FALSE(SaveInfoFile(Path("no/such/doc.mvi"), SampleSchemes(), LineModeSensors, {}));
    EXPECT_FALSE(SaveSchemeFile(dir.path(), SampleSchemes())) << "a folder";
}
