#include "ui/About.h"

#include <QDesktopServices>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QUrl>
#include <algorithm>

#include "platform/Kit.h"
#include "ui/Main.h"

namespace {

// The maker's lines. The addresses are placeholders under reserved names: opening them may
// fail, and a failure is ignored.
const QString ActivityLine = QStringLiteral("Диагностика линии связи систем безопасности кранов");
const QString WebAddress = QStringLiteral("https://mirvane2.example");
const QString PostalLine = QStringLiteral("Адрес: не указан");
const QString PhoneLine = QStringLiteral("Телефон: не указан");
const QString MailAddress = QStringLiteral("support@mirvane2.example");

// Impact where the machine has it, else a narrow bold face of the same character.
QFont TitleFont(int pixelSize)
{
    QFont font(QStringLiteral("Impact"));
    if (!QFontDatabase::families().contains(QStringLiteral("Impact"))) {
        font = QFont(QStringLiteral("DejaVu Sans Condensed"));
        font.setBold(true);
    }
    font.setPixelSize(pixelSize);
    return font;
}

class TIconBox : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        MainIcon().paint(&painter, QRect(0, 0, 32, 32));
    }
};

QLabel* Label(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

// The panel's lines from the top down, each as tall as its text needs at its width: a line too
// long for the panel goes on in a second line rather than being cut, whatever the font.
class TLines {
public:
    static constexpr int Left = 16;
    static constexpr int Width = 320;

    // Places the label at the next line; with advance false, the next label shares its line.
    void Place(QLabel* label, int left = Left, int width = Width, bool advance = true)
    {
        label->setWordWrap(true);
        const int height = label->heightForWidth(width);
        label->setGeometry(left, top_, width, height);
        lineHeight_ = std::max(lineHeight_, height);
        if (advance) {
            top_ += lineHeight_ + Gap;
            lineHeight_ = 0;
        }
    }
    void Skip(int pixels) { top_ += pixels; }
    int Bottom() const { return top_ - Gap; }

private:
    static constexpr int Gap = 6;
    int top_ = 10;
    int lineHeight_ = 0;
};

}   // namespace

QString VersionText(std::uint32_t major, std::uint32_t minor)
{
    return QStringLiteral("Версия %1.%2").arg(major).arg(minor, 2, 10, QLatin1Char('0'));
}

TLinkLabel::TLinkLabel(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    setLook(palette().color(QPalette::Link), false);
}

void TLinkLabel::setLook(const QColor& color, bool underline)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
    QFont f = font();
    f.setUnderline(underline);
    setFont(f);
}

void TLinkLabel::enterEvent(QEnterEvent*) { setLook(QColor(0, 0, 255), true); }
void TLinkLabel::leaveEvent(QEvent*) { setLook(palette().color(QPalette::Link), false); }

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick)
        OnClick();
}

TAboutForm::TAboutForm(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("О программе"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* top = new QWidget(this);
    top->setObjectName(QStringLiteral("TopPanel"));
    top->setGeometry(0, 0, 360, 80);
    top->setAutoFillBackground(true);
    QPalette white = top->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    top->setPalette(white);
    IconBox = new TIconBox(top);
    IconBox->setObjectName(QStringLiteral("IconBox"));
    IconBox->setGeometry(16, 16, 32, 32);
    ProductNameLabel = new QLabel(QStringLiteral(" ") + VersionProduct, top);
    ProductNameLabel->setObjectName(QStringLiteral("ProductNameLabel"));
    ProductNameLabel->setFont(TitleFont(30));
    ProductNameLabel->setGeometry(60, 8, 290, 38);
    VersionNumberLabel = new QLabel(VersionText(VersionMajor, VersionMinor), top);
    VersionNumberLabel->setObjectName(QStringLiteral("VersionNumberLabel"));
    VersionNumberLabel->setFont(TitleFont(16));
    VersionNumberLabel->setGeometry(66, 48, 280, 22);

    AboutPanel = new TPanel(this);
    AboutPanel->SetName(QStringLiteral("AboutPanel"));
    AboutPanel->SetBevelOuter(TPanelBevel::Lowered);
    TLines lines;
    LegalNoticeLabel = Label(AboutPanel, "LegalNoticeLabel", VersionLegalNotice);
    lines.Place(LegalNoticeLabel);
    lines.Skip(6);
    lines.Place(Label(AboutPanel, "ActivityLabel", ActivityLine));
    ZunorLabel = new TLinkLabel(AboutPanel);
    ZunorLabel->setObjectName(QStringLiteral("ZunorLabel"));
    ZunorLabel->setText(WebAddress);
    lines.Place(ZunorLabel);
    ZunorLabel->OnClick = [this] { LabelClick(ZunorLabel); };
    lines.Skip(6);
    lines.Place(Label(AboutPanel, "AddressLabel", PostalLine));
    lines.Place(Label(AboutPanel, "PhoneLabel", PhoneLine));
    lines.Skip(6);
    QLabel* mailCaption = Label(AboutPanel, "EMailCaptionLabel", QStringLiteral("e-mail:"));
    const int captionWidth = mailCaption->sizeHint().width();
    lines.Place(mailCaption, TLines::Left, captionWidth, false);
    EMLabel = new TLinkLabel(AboutPanel);
    EMLabel->setObjectName(QStringLiteral("EMLabel"));
    EMLabel->setText(MailAddress);
    lines.Place(EMLabel, TLines::Left + captionWidth + 4, TLines::Width - captionWidth - 4);
    EMLabel->OnClick = [this] { EMLabelClick(); };
    constexpr int PanelTop = 88;
    AboutPanel->SetBounds(8, PanelTop, 344, std::max(164, lines.Bottom() + 10));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    const int okTop = PanelTop + AboutPanel->Height() + 10;
    ok->setGeometry(142, okTop, 76, 26);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    // 360 x 300 as designed, taller only when a font needs more lines.
    setFixedSize(360, std::max(300, okTop + 26 + 12));
}

void TAboutForm::LabelClick(QLabel* label)
{
    QDesktopServices::openUrl(QUrl::fromUserInput(label->text()));   // a failure is ignored
}

void TAboutForm::EMLabelClick()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + EMLabel->text() + QStringLiteral("?subject=") +
                                   VersionDescription));   // a failure is ignored
}
