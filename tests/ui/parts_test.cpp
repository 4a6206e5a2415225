// The window's smaller parts on their own: image lists and tinting, the port enumerator, the
// help page and the About form's version.
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include "model/Session.h"
#include "platform/Files.h"
#include "platform/PortList.h"
#include "support/HostileFiles.h"
#include "support/OpenedLinks.h"
#include "support/TextFit.h"
#include "ui/About.h"
#include "ui/Help.h"
#include "ui/ImageList.h"
#include "ui/Main.h"
#include "ui/PortControl.h"

TEST(ImageParts, TintBlendAndMaskedStrips)
{
    struct {
        int v;
        QColor system, expected;
    } const rows[] = {{0, QColor(10, 20, 30), MaskColor},   // black vanishes, lighter runs towards white
                      {255, QColor(0, 0, 0), QColor(254, 254, 254)},
                      {1, QColor(200, 0, 0), QColor(200, 0, 0)}};
    for (const auto& row : rows) {
        QImage source(1, 1, QImage::Format_RGB32);
        source.setPixel(0, 0, qRgb(row.v, 0, 0));   // only the red level counts
        EXPECT_EQ(TintRoundButtons(source, row.system).pixelColor(0, 0), row.expected) << row.v;
    }
    EXPECT_EQ(BlendColors(QColor(0, 30, 100), QColor(3, 0, 1)), QColor(1, 20, 67));   // 2 parts window, 1 face

    QImage strip(48, 16, QImage::Format_RGB32);
    strip.fill(MaskColor);
    strip.setPixelColor(20, 3, Qt::black);
    TImageList list(16);
    list.AddMasked(strip, MaskColor);
    ASSERT_EQ(list.Count(), 3);
    const QImage second = list.Image(1).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(second.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(second.pixel(4, 3)), 255);
    EXPECT_TRUE(list.Image(3).isNull() && list.Image(-1).isNull());

    // A button shows the disabled list's image while it is disabled, not a greyed copy of its own.
    strip.setPixelColor(20, 3, Qt::red);
    TImageList disabled(16);
    disabled.AddMasked(strip, MaskColor);
    const QIcon icon = ButtonIcon(list, disabled, 1);
    const auto image = [](const QPixmap& p) { return p.toImage().convertToFormat(QImage::Format_ARGB32); };
    EXPECT_EQ(image(icon.pixmap(16, QIcon::Disabled)), image(disabled.Image(1)));
    EXPECT_EQ(image(icon.pixmap(16, QIcon::Normal)), image(list.Image(1)));
}

TEST(PortEnumerator, TakesRealUartsOnly)
{
    QTemporaryDir dir;
    const QDir root(dir.path());
    // A tty class folder as sysfs lays it out: an entry per tty, a device link where hardware is.
    // clang-format off
    struct { const char* name; bool device; const char* type; } const ttys[] = {{"tty1", false, nullptr}, {"ttyS0", true, "4\n"}, {"ttyS1", true, "0\n"},   // no UART
                {"ttyS2", true, nullptr},   // no type: not trusted
                {"ttyS10", true, "4\n"},    {"ttyUSB0", true, nullptr}, {"ttyACM0", true, nullptr}};
    // clang-format on
    for (const auto& t : ttys) {
        ASSERT_TRUE(root.mkpath(QString::fromLatin1(t.name) + (t.device ? "/device" : "")));
        QFile type(root.filePath(QString::fromLatin1(t.name) + "/type"));
        ASSERT_TRUE(!t.type || (type.open(QIODevice::WriteOnly) && type.write(t.type) > 0));
    }
    QStringList ports = EnumerateSerialPorts(dir.path());
    SortPortNames(ports);
    EXPECT_EQ(ports, (QStringList{"ttyACM0", "ttyS0", "ttyS10", "ttyUSB0"}));
    EXPECT_TRUE(EnumerateSerialPorts(dir.path() + "/missing").isEmpty());
}

// The About form's two links: its web address, and a mail to its address with the program's name
// as the subject.
TEST(HelpAndAbout, TheAboutFormsLinksOpenTheSiteAndAMail)
{
    TDocument document;
    TSession session(document);
    TPortControl ports;
    TMirvane2Form main(session, ports);
    TOpenedLinks opened;
    for (const char* scheme : {"http", "https", "mailto"})
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &opened, "Open");
    TAboutForm about(&main);
    QTest::mouseClick(about.ZunorLabel, Qt::LeftButton);
    QTest::mouseClick(about.EMLabel, Qt::LeftButton);
    for (const char* scheme : {"http", "https", "mailto"})
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    ASSERT_EQ(opened.Urls.size(), 2);
    EXPECT_TRUE(opened.Urls[0].startsWith(QLatin1String("http")) && opened.Urls[0].contains(about.ZunorLabel->text()))
        << opened.Urls[0].toStdString();
    EXPECT_EQ(opened.Urls[1], QStringLiteral("mailto:") + about.EMLabel->text() + QStringLiteral("?subject=") + VersionDescription);
}

TEST(HelpAndAbout, HelpPageInRussianAndTheVersion)
{
    TDocument document;
    TSession session(document);
    TPortControl ports;
    TMirvane2Form main(session, ports);   // registers the resources
    QTemporaryDir dir;
    const QString page = QString::fromUtf8(FileBytes(WriteHelpPage(dir.path() + QStringLiteral("/help"))));
    ASSERT_FALSE(page.isEmpty());
    // The device modes' menu opens on a left click in the grid's first cell, not as a context menu.
    for (const char* words : {"Диагностика БИ", "Диагностика датчиков", "<kbd>Alt</kbd>+<kbd>K</kbd>",
                              "щелчком левой кнопки мыши по ячейке «C»"})
        EXPECT_TRUE(page.simplified().contains(QString::fromUtf8(words))) << words;
    EXPECT_FALSE(page.contains(QStringLiteral("контекстн")));
    EXPECT_EQ(VersionText(1, 7), QStringLiteral("Версия 1.07"));

    // A link where the copy goes is left alone, and so is the file it names.
    const QString victim = dir.filePath("victim.txt"), linked = dir.filePath("linked");
    ASSERT_TRUE(ReplaceFile(victim, "mine") && MakeFolders(linked) && QFile::link(victim, linked + "/Mirvane2.html"));
    EXPECT_TRUE(WriteHelpPage(linked).isEmpty());
    EXPECT_EQ(FileBytes(victim), "mine");
}

// Every text of the About form reads whole inside its panel, a line too long for the panel's width
// on two lines; the panel ends above the "OK" button, inside the form.
TEST(HelpAndAbout, AboutTextsReadWhole)
{
    TDocument document;
    TSession session(document);
    TPortControl ports;
    TMirvane2Form main(session, ports);
    TAboutForm form(&main);
    const TTextFitReport report = CheckTextsFit(&form);
    EXPECT_GE(report.Checked, 9);
    EXPECT_TRUE(report.Clipped.empty()) << report.Clipped.join(QStringLiteral("\n")).toStdString();
    const QRect panel = form.AboutPanel->contentsRect();
    for (const QLabel* label : form.AboutPanel->findChildren<QLabel*>())
        EXPECT_TRUE(panel.contains(label->geometry())) << label->objectName().toStdString();
    const auto* ok = form.findChild<QWidget*>(QStringLiteral("OKButton"));
    ASSERT_TRUE(ok);
    EXPECT_LT(form.AboutPanel->geometry().bottom(), ok->geometry().top());
    EXPECT_TRUE(form.rect().contains(ok->geometry()));
}
