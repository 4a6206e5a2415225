#pragma once
// What the window benchmarks share: an offscreen application whose settings, port list and
// scheme files live in a temporary folder, the real device frames, and a shown main window
// with a scheme of one device at every address that has catalogue rows (61 devices).
#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <vector>

#include "ReceiveBench.h"
#include "frames/Registration.h"
#include "model/Catalogue.h"
#include "model/LineMode.h"
#include "model/Scheme.h"
#include "model/SchemeFiles.h"
#include "model/Session.h"
#include "platform/Abort.h"
#include "support/RunEvents.h"
#include "ui/Ask.h"
#include "ui/Main.h"
#include "ui/PortControl.h"

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

class WindowBench {
public:
    WindowBench()
    {
        qputenv("MIRVANE_TTY_CLASS_DIR", dir_.filePath(QStringLiteral("tty")).toLocal8Bit());
        RegisterFrameClasses();
        ports.PortOpen = false;
        LineMode = LineModeMaster;
        SetMessageBoxHook([](const QString&, const QString&, TButtons, TBoxIcon) { return TAnswer::No; });
    }
    ~WindowBench() { SetMessageBoxHook({}); }

    // A scheme file of one device at every address, all in `mode`, written once.
    QString SchemeFile(std::uint8_t mode = ModeEmulate)
    {
        const QString path = dir_.filePath(QStringLiteral("all%1.mvs").arg(mode));
        if (QFile::exists(path))
            return path;
        TSchemeList schemes;
        schemes.push_back(std::make_unique<TDeviceScheme>(QStringLiteral("Кран")));
        for (int row : FirstRowOfEachAddress())
            schemes.back()->Objects.push_back(std::make_unique<TSchemeObject>(
                QString::fromUtf8(DeviceCatalogue[row].Model), static_cast<std::uint32_t>(row), mode));
        SaveSchemeFile(path, schemes, document.FileComment);
        return path;
    }

    // The settings file the next window starts from.
    void WriteSettings(const QString& text)
    {
        QFile file(dir_.filePath(QStringLiteral("Mirvane2.ini")));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(text.toUtf8());
    }

    // Closes the window as the user does and waits until its receive thread has ended.
    void CloseWindow()
    {
        if (!form)
            return;
        form->close();
        RunEventsUntil([this] { return ports.ReceiveThread == nullptr; });
        form.reset();
        RunEventsFor(20);
    }

    // A fresh window, shown and started up.
    TMirvane2Form& NewWindow()
    {
        CloseWindow();
        form = std::make_unique<TMirvane2Form>(session, ports);
        form->IniFileName = dir_.filePath(QStringLiteral("Mirvane2.ini"));
        form->show();
        form->PostStartup();
        RunEventsFor(50);
        return *form;
    }

    // Opens the scheme file and runs the event loop until its frames are built and drawn; the
    // milliseconds that took.
    double OpenScheme(std::uint8_t mode = ModeEmulate)
    {
        const QString path = SchemeFile(mode);
        QElapsedTimer clock;
        clock.start();
        GuardUi([&] { form->OpenFile(path); });
        RunEventsUntil([this] { return !form->OpeningScheme(); });
        QCoreApplication::processEvents();
        return static_cast<double>(clock.nsecsElapsed()) / 1e6;
    }

    TPortControl ports;   // declared before the window, which they outlive
    TDocument document;
    TSession session{document};
    std::unique_ptr<TMirvane2Form> form;

private:
    QTemporaryDir dir_;
};
