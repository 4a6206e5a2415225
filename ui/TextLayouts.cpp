#include "ui/TextLayouts.h"

void TTextLayouts::forgetOtherFont(const QFont& font)
{
    if (font == font_)
        return;
    texts_.clear();
    fitted_.clear();
    font_ = font;
}

QStaticText TTextLayouts::laidOut(const QString& text, const QFont& font)
{
    QStaticText laid(text);
    laid.setTextFormat(Qt::PlainText);
    laid.prepare(QTransform(), font);
    return laid;
}

const TTextLayouts::TLaidOut& TTextLayouts::Get(const QString& text, const QFont& font)
{
    forgetOtherFont(font);
    auto found = texts_.constFind(text);
    if (found != texts_.constEnd())
        return *found;
    if (texts_.size() >= Capacity)
        texts_.clear();
    return *texts_.insert(text, {laidOut(text, font), QFontMetrics(font).horizontalAdvance(text)});
}

const QStaticText& TTextLayouts::Fitted(const QString& text, const QFont& font, const QFontMetrics& metrics, int width)
{
    forgetOtherFont(font);
    if (width != fittedWidth_) {
        fitted_.clear();
        fittedWidth_ = width;
    }
    auto found = fitted_.constFind(text);
    if (found != fitted_.constEnd())
        return *found;
    if (fitted_.size() >= Capacity)
        fitted_.clear();
    return *fitted_.insert(text, laidOut(metrics.elidedText(text, Qt::ElideRight, width), font));
}
