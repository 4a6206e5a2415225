#include "ui/ImageList.h"

#include <QBitmap>
#include <QPainter>

void TImageList::AddMasked(const QImage& strip, const QColor& maskColor)
{
    if (strip.isNull() || size_ <= 0)
        return;
    const QImage rgb = strip.convertToFormat(QImage::Format_RGB32);
    for (int x = 0; x + size_ <= rgb.width(); x += size_) {
        QPixmap pixmap = QPixmap::fromImage(rgb.copy(x, 0, size_, std::min(size_, rgb.height())));
        pixmap.setMask(pixmap.createMaskFromColor(maskColor, Qt::MaskInColor));
        images_.push_back(pixmap);
    }
}

QPixmap TImageList::Image(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    return images_[std::size_t(index)];
}

void TImageList::Draw(QPainter& painter, int x, int y, int index) const
{
    if (index < 0 || index >= Count())
        return;
    painter.drawPixmap(x, y, images_[std::size_t(index)]);
}

QImage LoadResourceImage(const QString& name)
{
    return QImage(QStringLiteral(":/images/%1.png").arg(name));
}

bool LoadImageList(TImageList& list, const QString& name)
{
    const QImage strip = LoadResourceImage(name);
    list.AddMasked(strip, MaskColor);
    return !strip.isNull();
}

QImage TintRoundButtons(const QImage& source, const QColor& system)
{
    QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int s[3] = {system.red(), system.green(), system.blue()};
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int v = qRed(line[x]);
            if (v == 0) {
                line[x] = MaskColor.rgb();
                continue;
            }
            int c[3];
            for (int i = 0; i < 3; ++i)
                c[i] = s[i] + (((255 - s[i]) * v) >> 8);
            line[x] = qRgb(c[0], c[1], c[2]);
        }
    }
    return image;
}

QColor BlendColors(const QColor& window, const QColor& buttonFace)
{
    return QColor((2 * window.red() + buttonFace.red()) / 3, (2 * window.green() + buttonFace.green()) / 3,
                  (2 * window.blue() + buttonFace.blue()) / 3);
}

QIcon ButtonIcon(const TImageList& enabled, const TImageList& disabled, int index)
{
    QIcon icon;
    const QPixmap on = enabled.Image(index);
    if (!on.isNull())
        icon.addPixmap(on, QIcon::Normal);
    const QPixmap off = disabled.Image(index);
    if (!off.isNull())
        icon.addPixmap(off, QIcon::Disabled);
    return icon;
}
