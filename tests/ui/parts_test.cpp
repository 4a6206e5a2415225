// The window's smaller parts on their own: image lists and tinting, the port enumerator, the
// help page, the About form, the silent abort.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/Abort.h"
#include "platform/PortList.h"
#include "ui/About.h"
#include "ui/Help.h"
#include "ui/ImageList.h"
#include "ui/Main.h"

TEST(RoundButtonTint, BlackVanishesAndLighterRunsTowardsWhite)
{
    struct {
        int v;
        QColor system;
        QColor expected;
    } const rows[] = {
        {0, QColor(10, 20, 30), MaskColor},
        {255, QColor(0, 0, 0), QColor(254, 254, 254)},
        {128, QColor(100, 50, 0), QColor(100 + (155 * 128 >> 8), 50 + (205 * 128 >> 8), 128 * 255 >> 8)},
        {1, QColor(200, 0, 0), QColor(200, 0, 0)},
        {255, QColor(255, 255, 255), QColor(255, 255, 255)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.v);
        QImage source(1, 1, QImage::Format_RGB32);
        source.setPixel(0, 0, qRgb(row.v, 0, 0));   // only the red level counts
        EXPECT_EQ(TintRoundButtons(source, row.system).pixelColor(0, 0), row.expected);
    }
}

TEST(BlendedColour, TwoPartsWindowOnePartButtonFace)
{
    EXPECT_EQ(BlendColors(QColor(255, 255, 255), QColor(240, 240, 240)), QColor(250, 250, 250));
    EXPECT_EQ(BlendColors(QColor(0, 30, 100), QColor(3, 0, 1)), QColor(1, 20, 67));
}

TEST(ImageList, CutsStripsAndMasksTheGround)
{
    QImage strip(48, 16, QImage::Format_RGB32);
    strip.fill(MaskColor);
    strip.setPixelColor(20, 3, Qt::black);
    TImageList list(16);
    list.AddMasked(strip, MaskColor);
    ASSERT_EQ(list.Count(), 3);
    const QImage second = list.Image(1).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(second.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(second.pixel(4, 3)), 255);
    EXPECT_TRUE(list.Image(3).isNull());
    EXPECT_TRUE(list.Image(-1).isNull());
}

namespace {

// A tty class folder as sysfs lays it out: an entry per tty, a device link where hardware is.
void AddTty(const QDir& root, const QString& name, bool device, const char* type = nullptr)
{
    ASSERT_TRUE(root.mkpath(name));
    if (device) {
        ASSERT_TRUE(root.mkpath(name + QStringLiteral("/device")));
    }
    if (type) {
        QFile file(root.filePath(name + QStringLiteral("/type")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(type);
    }
}

} // namespace

TEST(PortEnumerator, TakesRealUartsOnly)
{
    QTemporaryDir dir;
    const QDir root(dir.path());
    AddTty(root, QStringLiteral("tty1"), false);
    AddTty(root, QStringLiteral("console"), false);
    AddTty(root, QStringLiteral("ttyS0"), true, "4\n");
    AddTty(root, QStringLiteral("ttyS1"), true, "0\n");   // a slot without a UART
    AddTty(root, QStringLiteral("ttyS2"), true);           // no type: not trusted
    AddTty(root, QStringLiteral("ttyS10"), true, "4\n");
    AddTty(root, QStringLiteral("ttyUSB0"), true);
    AddTty(root, QStringLiteral("ttyACM0"), true);
    QStringList ports = EnumerateSerialPorts(dir.path());
    SortPortNames(ports);
    EXPECT_EQ(ports, (QStringList{QStringLiteral("ttyACM0"), QStringLiteral("ttyS0"), QStringLiteral("ttyS10"),
                                  QStringLiteral("ttyUSB0")}));
    EXPECT_TRUE(EnumerateSerialPorts(dir.path() + QStringLiteral("/missing")).isEmpty());
}

TEST(PortEnumerator, FolderComesFromTheEnvironment)
{
    qputenv("MIRVANE_TTY_CLASS_DIR", "/somewhere/else");
    EXPECT_EQ(TtyClassDir(), QStringLiteral("/somewhere/else"));
    qunsetenv("MIRVANE_TTY_CLASS_DIR");
    EXPECT_EQ(TtyClassDir(), QStringLiteral("/sys/class/tty"));
}

TEST(HelpPage, IsWrittenOutInRussian)
{
    TMirvane2Form form;   // registers the resources
    QTemporaryDir dir;
    const QString path = WriteHelpPage(dir.path() + QStringLiteral("/help"));
    ASSERT_FALSE(path.isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(file.readAll());
    for (const char* words : {"Диагностика БИ", "Диагностика датчиков", "<kbd>Alt</kbd>+<kbd>K</kbd>"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(words))) << words;
    EXPECT_EQ(WriteHelpPage(dir.path() + QStringLiteral("/help")), path);   // a second write is a no-op
}

TEST(AboutForm, ShowsVersionProductAndLinks)
{
    EXPECT_EQ(VersionText(1, 7), QStringLiteral("Версия 1.07"));
    EXPECT_EQ(VersionText(2, 15), QStringLiteral("Версия 2.15"));
    TMirvane2Form main;
    TAboutForm about(&main);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("О программе"));
    EXPECT_EQ(about.ProductNameLabel->text(), QStringLiteral(" Mirvane2"));
    EXPECT_EQ(about.VersionNumberLabel->text(), VersionText(MIRVANE_VERSION_MAJOR, MIRVANE_VERSION_MINOR));
    EXPECT_EQ(about.LegalNoticeLabel->text(), VersionLegalNotice);
    EXPECT_FALSE(about.ZunorLabel->text().isEmpty());
    EXPECT_TRUE(about.EMLabel->text().contains(QLatin1Char('@')));
    ASSERT_NE(about.findChild<QWidget*>(QStringLiteral("OKButton")), nullptr);
}

TEST(SilentAbort, EndsOnlyTheHandler)
{
    int after = 0;
    EXPECT_FALSE(GuardUi([&] {
        Abort();
        ++after;
    }));
    EXPECT_EQ(after, 0);
    EXPECT_TRUE(GuardUi([&] { ++after; }));
    EXPECT_EQ(after, 1);
}
