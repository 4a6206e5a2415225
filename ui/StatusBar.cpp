#include "ui/StatusBar.h"

#include <QMouseEvent>
#include <QPainter>

TStatusBar::TStatusBar(QWidget* parent) : QWidget(parent), TControl(this)
{
    setAutoFillBackground(true);
}

QString TStatusBar::PanelText(int index) const
{
    return index >= 0 && index < PanelCount() ? Panels[std::size_t(index)].Text : QString();
}

void TStatusBar::SetPanelText(int index, const QString& text)
{
    if (index < 0 || index >= PanelCount() || Panels[std::size_t(index)].Text == text)
        return;
    Panels[std::size_t(index)].Text = text;
    update(PanelRect(index));
}

void TStatusBar::SetPanelWidth(int index, int width)
{
    if (index < 0 || index >= PanelCount())
        return;
    Panels[std::size_t(index)].Width = width;
    update();
}

QRect TStatusBar::PanelRect(int index) const
{
    int left = 0;
    for (int i = 0; i < index && i < PanelCount(); ++i)
        left += Panels[std::size_t(i)].Width + 2;
    const bool last = index == PanelCount() - 1;
    const int w = last ? std::max(0, width() - left) : Panels[std::size_t(index)].Width;
    return QRect(left, 1, w, std::max(0, height() - 2));
}

void TStatusBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (int i = 0; i < PanelCount(); ++i) {
        const QRect r = PanelRect(i);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        const TStatusPanel& panel = Panels[std::size_t(i)];
        if (panel.OwnerDrawn) {
            if (OnDrawPanel) {
                painter.save();
                painter.setClipRect(r);
                OnDrawPanel(this, painter, i, r.adjusted(1, 1, -1, -1));
                painter.restore();
            }
            continue;
        }
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                         panel.Text);
    }
}

void TStatusBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (OnMouseUp) {
        const QPoint p = event->position().toPoint();
        OnMouseUp(event->button(), event->modifiers(), p.x(), p.y());
    }
}

void TStatusBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (OnResize)
        OnResize(this);
}
