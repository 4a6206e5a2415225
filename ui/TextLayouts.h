#pragma once
// Texts laid out once for drawing. The line monitor's list and the scheme grid draw the same
// texts over and over (a poll cycle repeats its requests, a device its values); shaping each
// text anew whenever a row or a cell is drawn cost more than all the rest of their drawing.
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QStaticText>
#include <QString>

class TTextLayouts {
public:
    struct TLaidOut {
        QStaticText Text;   // ready to draw with QPainter::drawStaticText
        int Advance = 0;    // the text's width, as QFontMetrics(font).horizontalAdvance gives it
    };

    // The text laid out in `font`.
    const TLaidOut& Get(const QString& text, const QFont& font);
    // The same within `width` pixels: whole where it fits, else cut to end in "…" (measured
    // with `metrics`, those of the canvas it is drawn on).
    const QStaticText& Fitted(const QString& text, const QFont& font, const QFontMetrics& metrics, int width);

private:
    static constexpr int Capacity = 2048;   // far more than a screen's texts; a full cache starts over
    void forgetOtherFont(const QFont& font);
    static QStaticText laidOut(const QString& text, const QFont& font);

    QHash<QString, TLaidOut> texts_;
    QHash<QString, QStaticText> fitted_;   // by the whole text, fitted to fittedWidth_
    int fittedWidth_ = -1;
    QFont font_;
};
