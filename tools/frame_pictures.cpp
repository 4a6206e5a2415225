// Review aid, not a test: writes the picture of every catalogue row's frame at its default size,
// both sides shown for all-zero data, to <folder>/<row>_<model>.png.
//   frame_pictures <folder>      (QT_QPA_PLATFORM=offscreen, or under xvfb-run)
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>
#include <memory>

#include "frames/Registration.h"
#include "model/Catalogue.h"
#include "model/DeviceInfo.h"
#include "model/Scheme.h"
#include "platform/Kit.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: frame_pictures <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral(".")))
        return 1;
    RegisterFrameClasses();
    int written = 0;
    for (int row = 0; row < DeviceCatalogueCount; ++row) {
        TSchemeObject object(QStringLiteral("D"), static_cast<std::uint32_t>(row), ModeEmulate);
        TDeviceInfo device(&object, nullptr, nullptr);
        if (!device.Frame)
            continue;
        device.ShowData(true);
        device.ShowData(false);
        QString model = QString::fromUtf8(DeviceCatalogue[row].Model);
        model.replace(QLatin1Char('/'), QLatin1Char('_'));
        const QString name = QStringLiteral("%1_%2.png").arg(row, 2, 10, QLatin1Char('0')).arg(model);
        if (device.Frame->grab().save(folder.filePath(name)))
            ++written;
    }
    std::printf("%d frame pictures in %s\n", written, qPrintable(folder.absolutePath()));
    return written > 0 ? 0 : 1;
}
