#pragma once
// A canvas that keeps the texts drawn on it, in order, and draws nothing: what a widget or a
// drawing routine writes can be read back as text (cut or whole) rather than guessed from pixels.
#include <QPaintDevice>
#include <QPaintEngine>
#include <QSize>
#include <QStringList>

class TTextCanvas final : public QPaintDevice {
public:
    explicit TTextCanvas(QSize size) : size_(size) {}
    QPaintEngine* paintEngine() const override { return &engine_; }
    QStringList Texts() const { return engine_.Texts; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return size_.width();
        case PdmHeight:
            return size_.height();
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmWidthMM:
            return size_.width() * 254 / 960;
        case PdmHeightMM:
            return size_.height() * 254 / 960;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }

private:
    struct TEngine final : QPaintEngine {
        QStringList Texts;
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawRects(const QRectF*, int) override {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF&, const QTextItem& item) override { Texts << item.text(); }
        Type type() const override { return User; }
    };
    QSize size_;
    mutable TEngine engine_;
};
