#include "ui/Splitter.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

TSplitter::TSplitter(QWidget* parent) : QWidget(parent), TControl(this)
{
    setCursor(Qt::SplitHCursor);
}

void TSplitter::DragBy(int delta)
{
    if (!Target || delta == 0 || !parentWidget())
        return;
    const bool v = vertical();
    // A bar at the right or bottom of the rest grows its target when dragged left or up.
    const int targetSize = v ? Target->Width() : Target->Height();
    const int grows = (Align() == TAlign::Right || Align() == TAlign::Bottom) ? -delta : delta;
    const int room = (v ? parentWidget()->width() : parentWidget()->height()) - (v ? width() : height());
    int newSize = std::clamp(targetSize + grows, MinSize, std::max(MinSize, room - MinSize));
    bool accept = true;
    if (OnCanResize)
        OnCanResize(this, newSize, accept);
    if (!accept)
        return;
    if (v)
        Target->SetWidth(newSize);
    else
        Target->SetHeight(newSize);
    AlignControls(parentWidget());
}

void TSplitter::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    dragging_ = true;
    dragStart_ = along(event->globalPosition().toPoint());
}

void TSplitter::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_)
        return;
    const int now = along(event->globalPosition().toPoint());
    DragBy(now - dragStart_);
    dragStart_ = now;
}

void TSplitter::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

void TSplitter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
}
