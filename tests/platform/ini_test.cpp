// The settings file's profile format: what is not touched comes back byte for byte, names match
// without case, values convert strictly, and writing never loses the file that was there.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>

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

class IniFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QTemporaryDir dir;
};

}   // namespace

// That an untouched file, or one whose values are written as they read, comes back byte for byte
// is checked on every file of the settings corpus by its fuzz harness.

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
    // clang-format off
    const struct { const char* text; std::optional<std::int32_t> value; } cases[] = {
        {"12", 12},          {" -7 ", -7},        {"+5", 5},          {"0x1F", 31},          {"$10", 16},
        {"0xFFFFFFFF", -1},  {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}, {"2147483648", std::nullopt},
        {"99999999999999999999", std::nullopt}, {"", std::nullopt}, {"abc", std::nullopt}, {"12abc", std::nullopt},
        {"1 2", std::nullopt}, {"0x", std::nullopt}, {"-", std::nullopt}, {"0x100000000", std::nullopt},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(ParseIniInteger(QString::fromLatin1(c.text)), c.value) << c.text;
    const TIniFile ini = Parsed("[V]\nbad=x\ngood=3\n");
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("V"), QStringLiteral("bad"), 42), 42);
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("V"), QStringLiteral("good"), false));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("V"), QStringLiteral("missing"), true));
}

TEST(IniFile, WritesChangeOnlyTheirLines)
{
    // A value of nullptr deletes the key.
    const struct {
        const char *before, *section, *key, *value, *after;
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
        // Paths keep their blanks, commas and semicolons; a value is one line.
        {"", "LASTFILES", "File1", "/home/техник/схемы; кран, 1\\a.mvs",
         "[LASTFILES]\nFile1=/home/техник/схемы; кран, 1\\a.mvs\n"},
        // What the file cannot hold is refused, never changed: the file stays as it was.
        {"[A]\n", "A", "p", "a\nb\rc", "[A]\n"},
        {"[A]\np=1\n", "A", "p", "2 ", "[A]\np=1\n"},
        // Deleting removes the line, and a missing key deletes nothing.
        {"[A]\nx=1\ny=2\n", "A", "X", nullptr, "[A]\ny=2\n"},
        {"[A]\nx=1\n", "B", "x", nullptr, "[A]\nx=1\n"},
    };
    for (const auto& c : cases) {
        TIniFile ini = Parsed(c.before);
        const QString section = QString::fromLatin1(c.section), key = QString::fromLatin1(c.key);
        if (c.value)
            ini.WriteString(section, key, QString::fromUtf8(c.value));
        else
            ini.DeleteKey(section, key);
        EXPECT_EQ(ini.Image(), QByteArray(c.after)) << c.before;
        if (c.value) {
            EXPECT_EQ(Parsed(ini.Image()).ReadString(section, key), ini.ReadString(section, key));
        }
    }
}

// The format's own characters, blanks inside and bytes that are no UTF-8 come back as written;
// a line break, blanks at the ends and characters that no bytes give back cannot.
TEST(IniFile, AValueReadsBackAsWrittenOrIsRefused)
{
    using enum TIniValueFault;
    const struct {
        QString value;
        TIniValueFault fault;
    } cases[] = {
        {QStringLiteral("%2e%2e/tty,%4"), None},
        {QStringLiteral(";a=b[c]#d\"e\"\\f"), None},
        {QStringLiteral("in\tside"), None},
        {DecodeName("/d/\xff\xfe\xca\xf0.mvs"), None},
        {QString(), None},
        {QStringLiteral("a\nb"), LineBreak},
        {QStringLiteral("a\r"), LineBreak},
        {QStringLiteral(" lead"), OuterBlank},
        {QStringLiteral("trail\t"), OuterBlank},
        {QStringLiteral("nbsp\u00a0"), OuterBlank},
        {QString(QChar(0xD800)), NotEncodable},
        {DecodeName("\xc3") + DecodeName("\xa9"), NotEncodable},   // bytes that read as one character
    };
    for (const auto& c : cases) {
        const QByteArray before("[S]\nold=1\n");
        EXPECT_EQ(IniValueFault(c.value), c.fault) << c.value.toStdString();
        for (const QString& key : {QStringLiteral("old"), QStringLiteral("new")}) {
            TIniFile ini = Parsed(before);
            EXPECT_EQ(ini.WriteString(QStringLiteral("S"), key, c.value), c.fault == None) << c.value.toStdString();
            const TIniFile back = Parsed(ini.Image());
            if (c.fault == None) {
                EXPECT_EQ(back.ReadString(QStringLiteral("S"), key, QStringLiteral("missing")), c.value) << c.value.toStdString();
            } else {
                EXPECT_EQ(ini.Image(), before) << c.value.toStdString();
            }
        }
    }
}

TEST_F(IniFiles, APathIsWrittenAsItsBytesAndAFileComesBackAsItWas)
{
    const QByteArray image("[LASTFILES]\nFile1 = /d/\xff\xfe.mvs \n[X]\nodd=a\0b\xc3(\n");
    const QString name = dir.filePath(QStringLiteral("Mirvane2.ini"));
    ASSERT_TRUE(ReplaceFile(name, image));
    TIniFile ini;
    ASSERT_EQ(ini.Load(name), TIniLoad::Loaded);
    ASSERT_TRUE(ini.Save(name));
    EXPECT_EQ(FileBytes(name), image);
    ini.WriteString(QStringLiteral("LASTFILES"), QStringLiteral("File2"), DecodeName("/e/\xcf\xf0.mvs"));
    EXPECT_TRUE(ini.Image().contains("\nFile2=/e/\xcf\xf0.mvs\n")) << ini.Image().toHex().constData();
}

TEST_F(IniFiles, LoadTellsMissingFromUnusable)
{
    TIniFile ini;
    EXPECT_EQ(ini.Load(QString()), TIniLoad::Missing);
    const QString big = dir.filePath(QStringLiteral("big.ini"));
    ASSERT_TRUE(ReplaceFile(big, QByteArray(MaxIniFileSize + 1, 'x')));
    EXPECT_EQ(ini.Load(big), TIniLoad::Unreadable);
    EXPECT_EQ(ini.ReadString(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("d")), QStringLiteral("d"));
}

TEST_F(IniFiles, SaveMakesTheFolderByteForByteAndReplacesAReadOnlyFile)
{
    const QString name = dir.filePath(QStringLiteral("config/Mirvane2/Mirvane2.ini"));
    TIniFile ini = Parsed("[A]\nx=1\n");
    ASSERT_TRUE(ini.Save(name));
    EXPECT_EQ(FileBytes(name), QByteArray("[A]\nx=1\n"));

    ASSERT_TRUE(QFile::setPermissions(name, QFileDevice::ReadOwner));
    ini.WriteInteger(QStringLiteral("A"), QStringLiteral("x"), 2);
    ASSERT_TRUE(ini.Save(name));
    EXPECT_EQ(FileBytes(name), QByteArray("[A]\nx=2\n"));
    EXPECT_TRUE(QFileInfo(name).isWritable());
    EXPECT_TRUE(QFile::permissions(name) & QFileDevice::WriteOwner);   // whoever saves it
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(QFileInfo(name).path()).entryList(QDir::Files), QStringList{QStringLiteral("Mirvane2.ini")});
    EXPECT_FALSE(ini.Save(QString()));

    // A folder whose name is no UTF-8 is made with its own bytes, and no other beside it.
    const QByteArray folder = QFile::encodeName(dir.path()) + "/\xea\xee\xed\xf4";
    ASSERT_TRUE(ini.Save(DecodeName(folder + "/Mirvane2.ini")));
    EXPECT_EQ(FileType(DecodeName(folder + "/Mirvane2.ini")), unsigned(S_IFREG));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"config"})
        << "no folder of replacement characters";

    // A save that cannot be made says why.
    const QString plain = dir.filePath(QStringLiteral("plain")), shut = dir.filePath(QStringLiteral("shut"));
    ASSERT_TRUE(SetMode(dir.path(), 0777) && ReplaceFile(plain, "x") && MakeFolders(shut) && SetMode(shut, 0555));
    const struct {
        QString name;
        int error;
    } failures[] = {
        {QString(), ENOENT},
        {plain + QStringLiteral("/Mirvane2.ini"), ENOTDIR},
        {shut + QStringLiteral("/Mirvane2.ini"), EACCES},
        {shut, NotAPlainFile},
    };
    const TOrdinaryUser user;
    for (const auto& f : failures) {
        int error = 0;
        EXPECT_FALSE(ini.Save(f.name, &error)) << f.name.toStdString();
        EXPECT_EQ(error, f.error) << f.name.toStdString();
    }
}
