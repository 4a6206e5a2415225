#pragma once
// A splitter bar between an aligned panel and the rest of its container: dragging it resizes
// its target (the panel it stands beside) within MinSize on both sides, after asking
// OnCanResize, which may change the proposed size or refuse it.
#include <QWidget>
#include <functional>

#include "platform/Kit.h"

// NewSize: the target's proposed width (right splitter) or height (bottom splitter).
using TCanResizeEvent = std::function<void(QObject* Sender, int& NewSize, bool& Accept)>;

class TSplitter : public QWidget, public TControl {
    Q_OBJECT
public:
    explicit TSplitter(QWidget* parent = nullptr);
    MV_KIT_CLASS(TSplitter)

    int MinSize = 30;
    // The control it resizes: right of a Right splitter, below a Bottom one.
    TControl* Target = nullptr;
    TCanResizeEvent OnCanResize;

    // A drag of the bar by `delta` pixels (right or down positive), as the mouse makes it.
    void DragBy(int delta);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool vertical() const { return Align() == TAlign::Left || Align() == TAlign::Right; }
    int along(const QPoint& p) const { return vertical() ? p.x() : p.y(); }

    bool dragging_ = false;
    int dragStart_ = 0;
};
