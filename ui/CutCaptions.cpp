// A header's captions cut with "…"; see CutCaptions.h.
#include "ui/CutCaptions.h"

#include <QApplication>
#include <QHeaderView>
#include <QProxyStyle>
#include <QStyleOption>

namespace {

// The application's style, drawing each caption cut to end in "…" within its label's room.
class TCutCaptionStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option);
        if (element != CE_HeaderLabel || !header) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        QStyleOptionHeader cut(*header);
        cut.text = header->fontMetrics.elidedText(header->text, Qt::ElideRight, header->rect.width());
        QProxyStyle::drawControl(element, &cut, painter, widget);
    }
};

}   // namespace

void EndCutCaptionsInEllipsis(QHeaderView* header)
{
    auto* style = new TCutCaptionStyle(QApplication::style()->name());
    style->setParent(header);
    header->setStyle(style);
}
