// The settings file's profile format: what is not touched comes back byte for byte, names match
// without case, values convert strictly, and writing never loses the file that was there.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/Files.h"
#include "platform/Ini.h"
#include "support/HostileFiles.h"

namespace {

TIniFile Parsed(const QByteArray& image)
{
    TIniFile ini;
    ini.Parse(image);
    return ini;
}

QByteArray ReadAll(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool WriteAll(const QString& name, const QByteArray& bytes)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

TEST(IniFile, UntouchedFilesComeBackByteForByte)
{
    const QByteArray images[] = {
        "",
        "\n",
        "[A]\nx=1\n",
        "[A]\r\nx=1\r\n\r\n[B]\r\ny = 2",
        "\xEF\xBB\xBF[A]\nx=1\n",
        "; comment\n[A]\n  key  =  spaced value  \nno equals sign\n=no key\n",
        QByteArrayLiteral("[bad\xFF\xFE utf]\nk=\xC3\x28\n\0\n"),
        "[A]\nx=1\n[A]\nx=2\n\n\n",
    };
    for (const QByteArray& image : images)
        EXPECT_EQ(Parsed(image).Image(), image) << image.toStdString();
}

TEST(IniFile, NamesMatchWithoutCaseAndTheFirstSectionWins)
{
    const TIniFile ini = Parsed("k=outside\n[Setup]\n  Port = 1,0,ttyS0,2  \n[ВИД]\nКлюч=значение\n[setup]\nPort=ignored\n"
                                "Mode=9\n");
    EXPECT_EQ(ini.ReadString(QStringLiteral("SETUP"), QStringLiteral("port")), QStringLiteral("1,0,ttyS0,2"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("вид"), QStringLiteral("КЛЮЧ")), QStringLiteral("значение"));
    // A key before any section, or only in a later section of the same name, is not found.
    EXPECT_FALSE(ini.ValueExists(QString(), QStringLiteral("k")));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("SETUP"), QStringLiteral("Mode"), -1), -1);
    EXPECT_EQ(ini.ReadString(QStringLiteral("NONE"), QStringLiteral("x"), QStringLiteral("def")), QStringLiteral("def"));
}

TEST(IniFile, IntegersConvertStrictly)
{
    const struct {
        const char* text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {"12", 12},          {" -7 ", -7},        {"+5", 5},          {"0x1F", 31},          {"$10", 16},
        {"0xFFFFFFFF", -1},  {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}, {"2147483648", std::nullopt},
        {"99999999999999999999", std::nullopt}, {"", std::nullopt}, {"abc", std::nullopt}, {"12abc", std::nullopt},
        {"1 2", std::nullopt}, {"0x", std::nullopt}, {"-", std::nullopt}, {"0x100000000", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseIniInteger(QString::fromLatin1(c.text)), c.value) << c.text;
    const TIniFile ini = Parsed("[V]\nbad=x\ngood=3\n");
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("V"), QStringLiteral("bad"), 42), 42);
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("V"), QStringLiteral("good"), false));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("V"), QStringLiteral("missing"), true));
}

TEST(IniFile, WritesChangeOnlyTheirLines)
{
    const struct {
        const char* before;
        const char* section;
        const char* key;
        const char* value;   // nullptr deletes
        const char* after;
    } cases[] = {
        // A key in place keeps its line and its neighbours.
        {"; c\n[A]\nX=1\ny=2\n", "a", "x", "5", "; c\n[A]\nx=5\ny=2\n"},
        // A new key goes after the section's last line, before the blank line that ends it.
        {"[A]\nx=1\n\n[B]\n", "A", "z", "3", "[A]\nx=1\nz=3\n\n[B]\n"},
        // A new section goes at the end, and the file ends with a line break.
        {"[A]\nx=1", "B", "k", "v", "[A]\nx=1\n[B]\nk=v\n"},
        {"", "S", "k", "v", "[S]\nk=v\n"},
        // Line ends follow the file's.
        {"[A]\r\nx=1\r\n", "A", "y", "2", "[A]\r\nx=1\r\ny=2\r\n"},
        {"[A]\r\nx=1\r\n", "A", "x", "3", "[A]\r\nx=3\r\n"},
        // A value is one line.
        {"[A]\n", "A", "p", "a\nb\rc", "[A]\np=a b c\n"},
        // Deleting removes the line, and a missing key deletes nothing.
        {"[A]\nx=1\ny=2\n", "A", "X", nullptr, "[A]\ny=2\n"},
        {"[A]\nx=1\n", "B", "x", nullptr, "[A]\nx=1\n"},
    };
    for (const auto& c : cases) {
        TIniFile ini = Parsed(c.before);
        const QString section = QString::fromLatin1(c.section), key = QString::fromLatin1(c.key);
        if (c.value)
            ini.WriteString(section, key, QString::fromLatin1(c.value));
        else
            ini.DeleteKey(section, key);
        EXPECT_EQ(ini.Image(), QByteArray(c.after)) << c.before;
        if (c.value) {
            EXPECT_EQ(Parsed(ini.Image()).ReadString(section, key), ini.ReadString(section, key));
        }
    }
}

TEST(IniFile, CyrillicAndPathsSurviveAWriteAndARead)
{
    TIniFile ini;
    ini.Parse({});
    const QString path = QStringLiteral("/home/техник/схемы; кран, 1\\a.mvs");
    ini.WriteString(QStringLiteral("LASTFILES"), QStringLiteral("File1"), path);
    ini.WriteInteger(QStringLiteral("VIEW"), QStringLiteral("UpdateTime"), -250);
    const TIniFile again = Parsed(ini.Image());
    EXPECT_EQ(again.ReadString(QStringLiteral("lastfiles"), QStringLiteral("file1")), path);
    EXPECT_EQ(again.ReadInteger(QStringLiteral("view"), QStringLiteral("updatetime"), 0), -250);
}

TEST(IniFile, ValuesTheProgramLeavesOrWritesKeepTheirBytes)
{
    const QByteArray image("[LASTFILES]\nFile1 = /d/\xff\xfe.mvs \n[X]\nodd=a\0b\xc3(\n");
    TIniFile ini = Parsed(image);
    // Written with the value it holds: the line stays as it was, blanks and all.
    ini.WriteString(QStringLiteral("LASTFILES"), QStringLiteral("File1"),
                    ini.ReadString(QStringLiteral("LASTFILES"), QStringLiteral("File1")));
    ini.WriteString(QStringLiteral("X"), QStringLiteral("odd"), ini.ReadString(QStringLiteral("X"), QStringLiteral("odd")));
    EXPECT_EQ(ini.Image(), image);
    // A path is written as its file-system bytes.
    ini.WriteString(QStringLiteral("LASTFILES"), QStringLiteral("File2"), DecodeName("/e/\xcf\xf0.mvs"));
    EXPECT_TRUE(ini.Image().contains("\nFile2=/e/\xcf\xf0.mvs\n")) << ini.Image().toHex().constData();

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("Mirvane2.ini"));
    ASSERT_TRUE(WriteAll(name, image));
    ASSERT_EQ(ini.Load(name), TIniLoad::Loaded);
    ASSERT_TRUE(ini.Save(name));
    EXPECT_EQ(ReadAll(name), image);
}

TEST(IniFile, ASettingsFileThatIsNoPlainFileIsNeitherReadNorReplaced)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto hostile = MakeHostileFiles(dir.path());
    const TFifoGuard guard({hostile[1].Path});
    for (const THostileFile& file : hostile) {
        TIniFile ini;
        EXPECT_EQ(ini.Load(file.Path), file.Exists ? TIniLoad::Unreadable : TIniLoad::Missing) << file.Kind;
    }
    TIniFile ini;
    ini.Parse("[A]\nx=1\n");
    EXPECT_FALSE(ini.Save(hostile[1].Path));
    EXPECT_EQ(FileType(hostile[1].Path), unsigned(S_IFIFO));
    EXPECT_FALSE(guard.Released()) << "a reader waited on the FIFO";
}

TEST(IniFile, LoadTellsMissingFromUnusable)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TIniFile ini;
    EXPECT_EQ(ini.Load(dir.filePath(QStringLiteral("none.ini"))), TIniLoad::Missing);
    EXPECT_EQ(ini.Load(QString()), TIniLoad::Missing);
    EXPECT_EQ(ini.Load(dir.path()), TIniLoad::Unreadable);   // a folder
    const QString big = dir.filePath(QStringLiteral("big.ini"));
    ASSERT_TRUE(WriteAll(big, QByteArray(MaxIniFileSize + 1, 'x')));
    EXPECT_EQ(ini.Load(big), TIniLoad::Unreadable);
    EXPECT_EQ(ini.ReadString(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("d")), QStringLiteral("d"));
    const QString good = dir.filePath(QStringLiteral("good.ini"));
    ASSERT_TRUE(WriteAll(good, "[A]\nx=7\n"));
    EXPECT_EQ(ini.Load(good), TIniLoad::Loaded);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("A"), QStringLiteral("x"), 0), 7);
}

TEST(IniFile, SaveMakesTheFolderAndReplacesAReadOnlyFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("config/Mirvane2/Mirvane2.ini"));
    TIniFile ini;
    ini.Parse("[A]\nx=1\n");
    ASSERT_TRUE(ini.Save(name));
    EXPECT_EQ(ReadAll(name), QByteArray("[A]\nx=1\n"));

    ASSERT_TRUE(QFile::setPermissions(name, QFileDevice::ReadOwner));
    ini.WriteInteger(QStringLiteral("A"), QStringLiteral("x"), 2);
    ASSERT_TRUE(ini.Save(name));
    EXPECT_EQ(ReadAll(name), QByteArray("[A]\nx=2\n"));
    EXPECT_TRUE(QFileInfo(name).isWritable());
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(QFileInfo(name).path()).entryList(QDir::Files), QStringList{QStringLiteral("Mirvane2.ini")});
    EXPECT_FALSE(ini.Save(QString()));
}

TEST(IniFile, AFailedSaveKeepsTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A folder stands where the file should go: nothing may be destroyed.
    const QString name = dir.filePath(QStringLiteral("taken.ini"));
    ASSERT_TRUE(QDir().mkpath(name));
    ASSERT_TRUE(WriteAll(name + QStringLiteral("/inside"), "keep"));
    TIniFile ini;
    ini.Parse("[A]\nx=1\n");
    EXPECT_FALSE(ini.Save(name));
    EXPECT_EQ(ReadAll(name + QStringLiteral("/inside")), QByteArray("keep"));
}
