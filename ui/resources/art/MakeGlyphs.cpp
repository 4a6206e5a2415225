// Draws the program's button strips, connection glyphs, round buttons and icon into PNG files.
// The pictures are plain geometry on a fuchsia ground (the transparent colour of every strip),
// drawn without antialiasing so that the ground stays one exact colour. Run it again after a
// change and commit the PNG files it writes (see CMakeLists.txt beside it).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QColor Ground(255, 0, 255);
using Glyph = std::function<void(QPainter&)>;   // draws in a 16 x 16 box

QPen pen(const QColor& c, double w = 1.0) { return QPen(c, w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin); }

void page(QPainter& p)
{
    QPolygonF poly({{3, 1}, {10, 1}, {13, 4}, {13, 14}, {3, 14}});
    p.setPen(pen(QColor(60, 60, 60)));
    p.setBrush(Qt::white);
    p.drawPolygon(poly);
    p.drawPolyline(QPolygonF({{10, 1}, {10, 4}, {13, 4}}));
}
void folder(QPainter& p)
{
    p.setPen(pen(QColor(120, 80, 0)));
    p.setBrush(QColor(240, 200, 80));
    p.drawPolygon(QPolygonF({{1, 3}, {6, 3}, {7, 5}, {14, 5}, {14, 13}, {1, 13}}));
    p.setBrush(QColor(255, 225, 120));
    p.drawPolygon(QPolygonF({{3, 7}, {15, 7}, {13, 13}, {1, 13}}));
}
void floppy(QPainter& p)
{
    p.setPen(pen(QColor(20, 40, 90)));
    p.setBrush(QColor(60, 100, 180));
    p.drawRect(QRectF(2, 2, 12, 12));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 2, 8, 5));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(5, 10, 6, 4));
}
void masterUnit(QPainter& p)   // a unit that listens: box with a screen and waves
{
    p.setPen(pen(QColor(30, 30, 30)));
    p.setBrush(QColor(90, 140, 90));
    p.drawRect(QRectF(1, 4, 9, 10));
    p.setBrush(QColor(200, 240, 200));
    p.drawRect(QRectF(3, 6, 5, 3));
    p.setPen(pen(QColor(0, 90, 200)));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(9, 5, 4, 6), -60 * 16, 120 * 16);
    p.drawArc(QRectF(9, 3, 6, 10), -60 * 16, 120 * 16);
}
void sensor(QPainter& p)   // a gauge with its needle
{
    p.setPen(pen(QColor(30, 30, 30)));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(1, 1, 13, 13));
    p.setPen(pen(QColor(200, 0, 0), 2));
    p.drawLine(QPointF(8, 8), QPointF(11, 4));
    p.setPen(pen(QColor(30, 30, 30)));
    p.setBrush(QColor(30, 30, 30));
    p.drawRect(QRectF(7, 7, 2, 2));
}
void plug(QPainter& p)
{
    p.setPen(pen(QColor(30, 30, 30)));
    p.setBrush(QColor(120, 120, 130));
    p.drawRect(QRectF(3, 6, 8, 6));
    p.drawLine(QPointF(5, 2), QPointF(5, 6));
    p.drawLine(QPointF(9, 2), QPointF(9, 6));
    p.setPen(pen(QColor(30, 30, 30), 2));
    p.drawLine(QPointF(7, 12), QPointF(7, 15));
}
void arrowInto(QPainter& p, const QColor& c)
{
    p.setPen(pen(QColor(30, 30, 30)));
    p.setBrush(QColor(230, 230, 230));
    p.drawRect(QRectF(8, 3, 6, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(QPolygonF({{1, 7}, {6, 7}, {6, 4}, {10, 8}, {6, 12}, {6, 9}, {1, 9}}));
}
void arrowOut(QPainter& p, const QColor& c)
{
    p.setPen(pen(QColor(30, 30, 30)));
    p.setBrush(QColor(230, 230, 230));
    p.drawRect(QRectF(1, 3, 6, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(QPolygonF({{5, 7}, {10, 7}, {10, 4}, {15, 8}, {10, 12}, {10, 9}, {5, 9}}));
}
void disabledMark(QPainter& p)
{
    p.setPen(pen(QColor(180, 0, 0), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(2, 2, 11, 11));
    p.drawLine(QPointF(4, 12), QPointF(12, 4));
}
void plus(QPainter& p, const QColor& c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRect(QRectF(6, 2, 4, 12));
    p.drawRect(QRectF(2, 6, 12, 4));
}
void cross(QPainter& p, const QColor& c)
{
    p.setPen(pen(c, 3));
    p.drawLine(QPointF(3, 3), QPointF(12, 12));
    p.drawLine(QPointF(3, 12), QPointF(12, 3));
}
void grid(QPainter& p)
{
    p.setPen(pen(QColor(60, 60, 60)));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1, 2, 11, 11));
    for (int y = 5; y < 13; y += 3)
        p.drawLine(QPointF(1, y), QPointF(12, y));
    p.drawLine(QPointF(5, 2), QPointF(5, 13));
}
void pencil(QPainter& p)
{
    p.setPen(pen(QColor(60, 40, 0)));
    p.setBrush(QColor(250, 190, 40));
    p.drawPolygon(QPolygonF({{4, 14}, {3, 11}, {11, 3}, {13, 5}, {5, 13}}));
}
void triangle(QPainter& p, const QColor& c)
{
    p.setPen(pen(c.darker(150)));
    p.setBrush(c);
    p.drawPolygon(QPolygonF({{4, 2}, {13, 8}, {4, 14}}));
}
void square(QPainter& p, const QColor& c)
{
    p.setPen(pen(c.darker(150)));
    p.setBrush(c);
    p.drawRect(QRectF(3, 3, 10, 10));
}

// A static device (polled rarely): a small clock over the lower right corner of its mode image.
void staticMark(QPainter& p)
{
    p.setPen(pen(QColor(20, 20, 20)));
    p.setBrush(QColor(255, 215, 40));
    p.drawEllipse(QRectF(8, 8, 7, 7));
    p.drawLine(QPointF(11, 9), QPointF(11, 11));
    p.drawLine(QPointF(11, 11), QPointF(13, 11));
}

std::vector<Glyph> buttonGlyphs()
{
    const QColor green(20, 150, 40), red(200, 30, 30);
    return {
        [](QPainter& p) { page(p); },                            // 0 create file
        [](QPainter& p) { folder(p); },                          // 1 open
        [](QPainter& p) { floppy(p); },                          // 2 save
        [](QPainter& p) { masterUnit(p); },                      // 3 master diagnostics
        [](QPainter& p) { sensor(p); },                          // 4 sensor diagnostics
        [](QPainter& p) { plug(p); },                            // 5 port
        [green](QPainter& p) { arrowInto(p, green); },           // 6 mode receive
        [](QPainter& p) { arrowOut(p, QColor(30, 90, 220)); },   // 7 mode emulate
        [](QPainter& p) { disabledMark(p); },                    // 8 mode off
        [green](QPainter& p) { plus(p, green); },                // 9 add device
        [red](QPainter& p) { cross(p, red); },                   // 10 delete device
        [green](QPainter& p) { grid(p); p.scale(0.5, 0.5); p.translate(14, 14); plus(p, green); },                                // 11
        [](QPainter& p) { grid(p); pencil(p); },                                     // 12 rename scheme
        [red](QPainter& p) { grid(p); p.scale(0.5, 0.5); p.translate(14, 14); cross(p, red); },                                  // 13
        [](QPainter& p) { grid(p); p.setPen(Qt::NoPen); p.setBrush(QColor(250, 130, 150)); p.drawRect(QRectF(7, 9, 8, 5)); },                                     // 14 clear
        [green](QPainter& p) { triangle(p, green); },            // 15 start
        [red](QPainter& p) { square(p, red); },                  // 16 stop
    };
}

// The 16 x 16 strip: the buttons, then the static variants of the three mode images (17-19),
// which the scheme grid shows for modes "01", "11" and "21".
std::vector<Glyph> smallButtonGlyphs()
{
    std::vector<Glyph> g = buttonGlyphs();
    for (std::size_t mode = 6; mode <= 8; ++mode)
        g.push_back([mode, base = g[mode]](QPainter& p) {
            base(p);
            staticMark(p);
        });
    return g;
}

std::vector<Glyph> connectGlyphs()
{
    std::vector<Glyph> g;
    for (int phase = 0; phase < 8; ++phase)   // 0..7: the turning detection glyph
        g.push_back([phase](QPainter& p) {
            static const QPointF dots[8] = {{7, 1}, {11, 3}, {13, 7}, {11, 11}, {7, 13}, {3, 11}, {1, 7}, {3, 3}};
            p.setPen(Qt::NoPen);
            for (int i = 0; i < 8; ++i) {
                const int age = (phase - i + 8) % 8;
                p.setBrush(age == 0 ? QColor(0, 90, 220) : age < 3 ? QColor(120, 160, 230)
                                                                   : QColor(190, 190, 190));
                p.drawRect(QRectF(dots[i], QSizeF(3, 3)));
            }
        });
    g.push_back([](QPainter& p) {   // 8 connected: two plug halves joined, green
        p.setPen(pen(QColor(0, 80, 0)));
        p.setBrush(QColor(40, 180, 60));
        p.drawRect(QRectF(2, 5, 6, 6));
        p.drawRect(QRectF(8, 6, 6, 4));
    });
    g.push_back([](QPainter& p) {   // 9 no port found: a question on amber
        p.setPen(pen(QColor(120, 80, 0)));
        p.setBrush(QColor(250, 190, 40));
        p.drawEllipse(QRectF(1, 1, 13, 13));
        p.setPen(pen(QColor(60, 30, 0), 2));
        p.drawArc(QRectF(5, 3, 5, 5), -90 * 16, 270 * 16);
        p.drawLine(QPointF(7.5, 8), QPointF(7.5, 9));
        p.drawPoint(QPointF(7.5, 12));
    });
    g.push_back([](QPainter& p) {   // 10 port closed: the halves apart, grey
        p.setPen(pen(QColor(60, 60, 60)));
        p.setBrush(QColor(170, 170, 170));
        p.drawRect(QRectF(1, 5, 5, 6));
        p.drawRect(QRectF(10, 6, 5, 4));
        p.setPen(pen(QColor(200, 30, 30), 2));
        p.drawLine(QPointF(8, 3), QPointF(8, 13));
    });
    return g;
}

// Round buttons: grey levels on black. Black is the transparent ground; the program tints the
// rest from a system colour (dark) towards white (light).
std::vector<Glyph> roundGlyphs()
{
    auto body = [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(24, 24, 24));
        p.drawEllipse(QRectF(0, 0, 15, 15));
    };
    auto arrow = [body](QPolygonF poly) {
        return [body, poly](QPainter& p) {
            body(p);
            p.setBrush(QColor(255, 255, 255));
            p.drawPolygon(poly);
        };
    };
    return {
        arrow(QPolygonF({{3, 10}, {8, 4}, {13, 10}})),   // 0 show decoding
        arrow(QPolygonF({{3, 5}, {8, 11}, {13, 5}})),    // 1 hide decoding
        arrow(QPolygonF({{10, 3}, {4, 8}, {10, 13}})),   // 2 show panel
        arrow(QPolygonF({{5, 3}, {11, 8}, {5, 13}})),    // 3 hide panel
        arrow(QPolygonF({{4, 10}, {8, 5}, {12, 10}})),   // 4 up or previous
        arrow(QPolygonF({{4, 6}, {8, 11}, {12, 6}})),    // 5 down or next
    };
}

QImage strip(const std::vector<Glyph>& glyphs, int size, const QColor& ground)
{
    QImage img(size * int(glyphs.size()), size, QImage::Format_RGB32);
    img.fill(ground);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        p.save();
        p.translate(double(i) * size, 0);
        p.scale(size / 16.0, size / 16.0);
        glyphs[i](p);
        p.restore();
    }
    return img;
}

// Disabled look: every drawn pixel becomes a light grey by its brightness.
QImage greyed(QImage img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c == Ground)
                continue;
            const int v = 128 + qGray(c.rgb()) / 2;
            img.setPixelColor(x, y, QColor(v, v, v));
        }
    return img;
}

QImage mainIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(QColor(10, 50, 110), 1.5));
    p.setBrush(QColor(30, 100, 190));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({{4, 20}, {9, 20}, {9, 11}, {14, 11}, {14, 20}, {19, 20}, {19, 11}, {24, 11}, {24, 20}, {28, 20}}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 200, 40));
    p.drawEllipse(QRectF(22, 3, 6, 6));
    return img;
}

bool save(const QImage& img, const QString& dir, const char* name)
{
    const QString file = dir + "/" + name + ".png";
    if (!img.save(file, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

}   // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const auto buttons = buttonGlyphs();
    const std::vector<Glyph> large(buttons.begin(), buttons.begin() + 6);
    bool ok = save(strip(large, 32, Ground), dir, "Buttons32x32e");
    ok = save(greyed(strip(large, 32, Ground)), dir, "Buttons32x32d") && ok;
    const auto small = smallButtonGlyphs();
    ok = save(strip(small, 16, Ground), dir, "Buttons16x16e") && ok;
    ok = save(greyed(strip(small, 16, Ground)), dir, "Buttons16x16d") && ok;
    ok = save(strip(connectGlyphs(), 16, Ground), dir, "ConnectIcons") && ok;
    ok = save(strip(roundGlyphs(), 16, Qt::black), dir, "RoundButtons") && ok;
    ok = save(mainIcon(32), dir, "MainIcon") && ok;
    ok = save(mainIcon(16), dir, "MainIcon16") && ok;
    return ok ? 0 : 1;
}
