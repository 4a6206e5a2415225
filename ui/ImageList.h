#pragma once
// Image lists: strips of equal square images loaded from the program's resources by name, the
// fuchsia ground transparent; and the round buttons tinted from a system colour.
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <vector>

class QPainter;

inline const QColor MaskColor(255, 0, 255);   // the transparent ground of every strip

class TImageList {
public:
    explicit TImageList(int size = 16) : size_(size) {}

    int Size() const { return size_; }
    int Count() const { return int(images_.size()); }
    void Clear() { images_.clear(); }
    // Cuts a strip into images of Size() x Size(); pixels of maskColor become transparent.
    void AddMasked(const QImage& strip, const QColor& maskColor);
    // The image, or a null pixmap for an index outside the list.
    QPixmap Image(int index) const;
    // Draws the image with its top left at (x, y); an index outside the list draws nothing.
    void Draw(QPainter& painter, int x, int y, int index) const;

private:
    int size_;
    std::vector<QPixmap> images_;
};

// The resource image of that name (":/images/<name>.png"); a null image when missing.
QImage LoadResourceImage(const QString& name);
// Fills a list from the resource strip of that name; false when the resource is missing.
bool LoadImageList(TImageList& list, const QString& name);

// The round buttons tinted with `system`: black pixels become the mask colour; a pixel of red
// level v (1..255) becomes system + (white - system) * v / 256 per channel, so that lighter
// pixels run from the system colour towards white.
QImage TintRoundButtons(const QImage& source, const QColor& system);

// The background of grid cells that cannot be edited: (2 x window + button face) / 3 per channel.
QColor BlendColors(const QColor& window, const QColor& buttonFace);

// A button icon from an enabled and a disabled list (either may lack the index).
QIcon ButtonIcon(const TImageList& enabled, const TImageList& disabled, int index);
