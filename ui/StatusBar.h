#pragma once
// The status bar: panels of given widths side by side, each with a text; a panel may be drawn
// by its owner (OnDrawPanel). A mask can cut the progress slit out of the bar, so that the
// colour of the panel behind it shows through.
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "platform/Kit.h"

class QPainter;

struct TStatusPanel {
    int Width = 50;
    QString Text;
    bool OwnerDrawn = false;
};

class TStatusBar : public QWidget, public TControl {
    Q_OBJECT
public:
    explicit TStatusBar(QWidget* parent = nullptr);
    MV_KIT_CLASS(TStatusBar)

    std::vector<TStatusPanel> Panels;
    int PanelCount() const { return int(Panels.size()); }
    QString PanelText(int index) const;
    void SetPanelText(int index, const QString& text);
    void SetPanelWidth(int index, int width);
    // The panel's rectangle in the bar (the last panel reaches the bar's right end).
    QRect PanelRect(int index) const;

    std::function<void(TStatusBar* bar, QPainter& canvas, int panel, const QRect& rect)> OnDrawPanel;
    std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)> OnMouseUp;
    TNotifyEvent OnResize;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};
