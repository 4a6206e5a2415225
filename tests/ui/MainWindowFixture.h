#pragma once
// A fresh main window per test, with its port list read from an empty folder (never the
// machine's serial ports) and the receive-thread factory and port switches as the test sets.
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "support/RunEvents.h"
#include "frames/Registration.h"
#include "ui/Main.h"
#include "ui/NotBuilt.h"
#include "ui/ReceiveControl.h"

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ttyDir.isValid());
        qputenv("MIRVANE_TTY_CLASS_DIR", ttyDir.path().toLocal8Bit());
        RegisterFrameClasses();
        PortOpen = true;
        PortAutoDetect = true;
        PollPriority = 2;
        ClearNotBuiltCalls();
        SetReceiveThreadFactory({});
    }
    void TearDown() override
    {
        if (form && ReceiveThread) {
            form->close();
            RunEventsUntil([] { return ReceiveThread == nullptr; });
        }
        form.reset();
        SetReceiveThreadFactory({});
        RunEventsFor(20);
    }
    TMirvane2Form& Make()
    {
        form = std::make_unique<TMirvane2Form>();
        // Settings never go beside the test program, where the next run would read them.
        IniFileName = settingsDir.filePath(QStringLiteral("Mirvane2.ini"));
        return *form;
    }
    void StartUp()
    {
        form->show();
        form->PostStartup();
        QCoreApplication::processEvents();
    }

    QTemporaryDir ttyDir;
    QTemporaryDir settingsDir;
    std::unique_ptr<TMirvane2Form> form;
};
