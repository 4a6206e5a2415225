#pragma once
// A fresh main window per test: its port list read from an empty folder (never the machine's
// serial ports), a receive thread that never runs, its settings and scheme files in temporary
// folders, its questions and file dialogs answered by the test. SchemeTest adds one scheme whose devices use the test frames.
#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include "frames/Registration.h"
#include "model/LineMode.h"
#include "model/SchemeFiles.h"
#include "model/Session.h"
#include "platform/Abort.h"
#include "platform/Files.h"
#include "support/HostileFiles.h"
#include "support/LoggingReceiveThread.h"
#include "support/RunEvents.h"
#include "support/TestFrames.h"
#include "ui/Ask.h"
#include "ui/DocumentNames.h"
#include "ui/Main.h"
#include "ui/MainSettings.h"
#include "ui/PortControl.h"
#include "ui/SchemeGrid.h"

// A receive thread that never runs: asked to end, it ends from the event loop as the window
// expects, its handler on the main thread. Every call goes into Log ("thread reconnect", ...).
class FakeReceiveThread final : public LoggingReceiveThread {
public:
    static inline QStringList Log;

    FakeReceiveThread() : LoggingReceiveThread(Log) {}
    void Terminate() override
    {
        LoggingReceiveThread::Terminate();
        if (!std::exchange(ending_, true))
            QTimer::singleShot(0, [this] { End(); });
    }

private:
    bool ending_ = false;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ttyDir.isValid() && settingsDir.isValid() && dir.isValid());
        qputenv("MIRVANE_TTY_CLASS_DIR", ttyDir.path().toLocal8Bit());
        RegisterFrameClasses();
        SetStartArguments(QStringList{});
        FakeReceiveThread::Log.clear();
        SetReceiveThreadFactory([]() -> IReceiveThread* { return new FakeReceiveThread; });
        LineMode = LineModeMaster;
        SetMessageBoxHook([this](const QString& text, const QString& caption, TButtons, TBoxIcon) {
            Messages << caption + QLatin1Char('|') + text;
            return Answers.empty() ? DefaultAnswer : Answers.takeFirst();
        });
        SetFileDialogHook([this](QFileDialog* dialog) {
            DialogFolders << dialog->directory().absolutePath();
            return Chosen.isEmpty() ? QString() : Chosen.takeFirst();
        });
    }
    void TearDown() override
    {
        if (form && ReceiveThread) {
            form->close();
            RunEventsUntil([this] { return ReceiveThread == nullptr; });
        }
        form.reset();
        SetReceiveThreadFactory({});
        RunEventsFor(20);
        SetMessageBoxHook({});
        SetFileDialogHook({});
        SetStartArguments(std::nullopt);
        LineMode = LineModeMaster;
    }
    TMirvane2Form& Make()
    {
        form = std::make_unique<TMirvane2Form>(session, ports);
        // Settings never go beside the test program, where the next run would read them.
        form->IniFileName = Ini();
        return *form;
    }
    TMirvane2Form& StartUp()
    {
        if (!form)
            Make();
        form->show();
        form->PostStartup();
        QCoreApplication::processEvents();
        return *form;
    }
    QAction* Action(const char* name) const { return qobject_cast<QAction*>(form->Component(QLatin1String(name))); }
    QString Path(const QString& name) const { return dir.filePath(name); }

    static int RowAt(int address, std::size_t k = 0)
    {
        return int(FrameInfoVectors[std::size_t(address)].at(k) - DeviceCatalogue);
    }
    using TSchemeLayout = std::pair<QString, std::vector<int>>;   // name, catalogue rows
    QString WriteSchemeFile(const QString& name, std::initializer_list<TSchemeLayout> layouts,
                            const QString& comment = QString())
    {
        TSchemeList schemes;
        for (const auto& [scheme, rows] : layouts) {
            schemes.push_back(std::make_unique<TDeviceScheme>(scheme));
            for (int row : rows)
                schemes.back()->Objects.push_back(std::make_unique<TSchemeObject>(
                    QString::fromUtf8(DeviceCatalogue[row].Model), std::uint32_t(row), ModeEmulate));
        }
        EXPECT_TRUE(SaveSchemeFile(Path(name), schemes, comment));
        return Path(name);
    }
    bool WaitOpened()
    {
        return RunEventsUntil([this] { return !form->OpeningScheme(); });
    }
    // Runs a command as the window's event loop does: a silent abort ends it. False if it did.
    template <class F> bool Run(F&& command)
    {
        const bool completed = GuardUi(std::forward<F>(command));
        WaitOpened();
        return completed;
    }
    void Open(const QString& path)
    {
        ASSERT_TRUE(Run([&] { form->OpenFile(path); }));
    }
    TDeviceInfo* Device(std::size_t i) const { return form->Devices().at(i).get(); }
    QString Ini() const { return settingsDir.filePath(QStringLiteral("Mirvane2.ini")); }
    void WriteIni(const QByteArray& text) const { ASSERT_TRUE(ReplaceFile(Ini(), text)); }
    QByteArray ReadIni() const { return FileBytes(Ini()); }
    void AddTty(const QString& name) { ASSERT_TRUE(QDir().mkpath(ttyDir.filePath(name + QStringLiteral("/device")))); }
    // Closes the window, waits for its thread and drops it, so that the next start is fresh.
    void CloseAndDrop()
    {
        form->close();
        ASSERT_TRUE(RunEventsUntil([this] { return !form->isVisible() && ReceiveThread == nullptr; }));
        form.reset();
    }
    static QList<QAction*> PortItems(QMenu* menu) { return menu->actions().mid(3); }   // after switch, auto, delimiter
    // Visible port items: caption, "*" when checked, "-" when disabled.
    static QStringList Captions(QMenu* menu)
    {
        QStringList captions;
        for (QAction* a : PortItems(menu))
            if (a->isVisible())
                captions << a->text() + (a->isChecked() ? QStringLiteral("*") : QString()) +
                                (a->isEnabled() ? QString() : QStringLiteral("-"));
        return captions;
    }
    void ExpectBothMenus(const QStringList& shown) const
    {
        EXPECT_EQ(Captions(form->LPortNameItem->menu()), shown);
        EXPECT_EQ(Captions(form->PortNamePopupMenu), shown);
    }

    QTemporaryDir ttyDir, settingsDir, dir;
    // Each case's own document, open scheme and port control, which its windows show; the names
    // the window's parts know them by.
    TPortControl ports;
    TPortList& PortList = ports.PortList;
    std::unique_ptr<TMVPort>& SettingsPort = ports.SettingsPort;
    bool& PortOpen = ports.PortOpen;
    std::atomic<bool>& PortAutoDetect = ports.PortAutoDetect;
    int& PollPriority = ports.PollPriority;
    IReceiveThread*& ReceiveThread = ports.ReceiveThread;
    TDocument document;
    QString& CurrentFileName = document.FileName;
    QString& FileComment = document.FileComment;
    TSession session{document};
    TDeviceScheme*& CurrentScheme = session.CurrentScheme;
    TDeviceScheme*& PendingScheme = session.PendingScheme;
    std::uint8_t& ConstructorMode = session.ConstructorMode;
    std::uint8_t& SearchByUser = session.SearchByUser;
    std::unique_ptr<TMirvane2Form> form;
    QStringList Messages;   // "caption|text"
    QList<TAnswer> Answers;
    TAnswer DefaultAnswer = TAnswer::Cancel;
    QStringList Chosen;
    QStringList DialogFolders;
};

// A window made before the test, for the scheme and document commands.
class SchemeWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Make();
    }
};

class SchemeTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        saved.assign(DeviceCatalogue, DeviceCatalogue + DeviceCatalogueCount);
        PortOpen = false;
        DefaultAnswer = TAnswer::No;
        rows = {RowAt(1), RowAt(2)};   // two addresses, with the test frames
        answerFrame = std::make_unique<ScopedFrameClass>(rows[0], CreateTestAnswerFrame);
        requestFrame = std::make_unique<ScopedFrameClass>(rows[1], CreateTestRequestFrame);
        Make();
        form->Schemes.push_back(std::make_unique<TDeviceScheme>(QStringLiteral("Схема 1")));
        CurrentScheme = form->Schemes.back().get();
        SlotLog.clear();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        requestFrame.reset();
        answerFrame.reset();
        std::copy(saved.begin(), saved.end(), DeviceCatalogue);
    }
    TDeviceInfo* AddDevice(int row, std::uint8_t mode, const QString& name = QStringLiteral("Датчик"))
    {
        auto& objects = CurrentScheme->Objects;
        objects.push_back(std::make_unique<TSchemeObject>(name, std::uint32_t(row), mode));
        auto device = std::make_unique<TDeviceInfo>(objects.back().get(), &FrameHandlers, form.get());
        TDeviceInfo* added = device.get();
        form->DevicesByAddr()[added->FrameInfo->Address] = added;
        form->Devices().push_back(std::move(device));
        form->GridControl->Rebuild();
        SlotLog.clear();
        return added;
    }
    QString Cell(int row, int column) const
    {
        const QTableWidgetItem* item = form->SchemeGrid->item(row, column);
        return item ? item->text() : QString();
    }

    std::vector<int> rows;
    std::vector<TFrameInfo> saved;   // the catalogue, whose rows tests change
    std::unique_ptr<ScopedFrameClass> answerFrame, requestFrame;
};
