// An exception that reaches the event loop from a handler ends that handler only: its message
// shows in an "Ошибка" box and the program goes on. Runs under the program's own application.
#include <QTest>
#include <stdexcept>

#include "WindowFixture.h"
#include "support/TestMain.h"
#include "ui/Application.h"

TEST_F(MainWindowTest, HandlerErrorsShowTheirMessageAndTheProgramGoesOn)
{
    TMirvane2Form& f = Make();
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    // clang-format off
    struct { const char* name; std::function<void()> fail; const char* shown; } const handlers[] = {
        {"timer", [] { throw std::runtime_error("Сбой таймера"); }, "Ошибка|Сбой таймера"},
        {"silent abort", [] { Abort(); }, nullptr},
        {"no message", [] { throw 42; }, "Ошибка|Непредвиденная ошибка."},
    };
    // clang-format on
    for (const auto& h : handlers) {
        Messages.clear();
        QTimer::singleShot(0, &f, h.fail);
        RunEventsFor(20);
        EXPECT_EQ(Messages, h.shown ? QStringList{QString::fromUtf8(h.shown)} : QStringList{}) << h.name;
    }

    // A key's shortcut slot reports the same way.
    Messages.clear();
    auto* failing = new QAction(&f);
    failing->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F12));
    f.addAction(failing);
    QObject::connect(failing, &QAction::triggered, &f, [] { throw std::out_of_range("Нет такого датчика"); });
    QTest::keyClick(&f, Qt::Key_F12, Qt::ControlModifier);
    EXPECT_EQ(Messages, QStringList{QStringLiteral("Ошибка|Нет такого датчика")});

    // The window still works.
    int ticks = 0;
    QTimer::singleShot(0, &f, [&ticks] { ++ticks; });
    RunEventsFor(20);
    EXPECT_EQ(ticks, 1);
    EXPECT_TRUE(f.isVisible());
    Messages.clear();
    GuardUi([] { throw std::runtime_error("в обработчике"); });   // the guard in place reports too
    EXPECT_EQ(Messages, QStringList{QStringLiteral("Ошибка|в обработчике")});
}

TEST_F(MainWindowTest, AFailingStepOfASchemesOpeningEndsItAndTheWindowGoesOn)
{
    StartUp();
    WaitOpened();
    const ScopedFrameClass failing(RowAt(2), [](QWidget*, TDeviceInfo*) -> TFrame* {
        throw std::runtime_error("Кадр не создан");
    });
    Messages.clear();
    FakeReceiveThread::Log.clear();
    Open(WriteSchemeFile(QStringLiteral("f.mvs"), {{QStringLiteral("F"), {RowAt(1), RowAt(2), RowAt(3)}}}));
    EXPECT_EQ(Messages, QStringList{QStringLiteral("Ошибка|Кадр не создан")});
    EXPECT_FALSE(form->OpeningScheme());
    ASSERT_TRUE(CurrentScheme);
    EXPECT_EQ(form->Devices().size(), 1u) << "the devices made before the failure";
    EXPECT_TRUE(Action("LBIMode1Item")->isEnabled() && Action("LBIMode2Item")->isEnabled());
    EXPECT_EQ(FakeReceiveThread::Log.filter(QStringLiteral("pause")).size(), 1);
    EXPECT_EQ(FakeReceiveThread::Log.last(), QStringLiteral("thread continue"));
    CloseAndDrop();   // no walk left to wait for
}

int main(int argc, char** argv) { return RunTests<TApplication>(argc, argv); }
