// Spot checks of the main window's component tree, found by object name as a user-facing test
// would: a few items of each kind with their captions, shortcuts and hints, the radio groups,
// the hidden menus and the image lists.
#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QToolButton>

#include "MainWindowFixture.h"
#include "platform/Kit.h"

TEST_F(MainWindowTest, ComponentTreeSpotChecks)
{
    TMirvane2Form& f = Make();
    f.show();
    const auto action = [&f](const char* name) { return qobject_cast<QAction*>(f.Component(QLatin1String(name))); };
    const struct {
        const char* name;
        const char* caption;
        const char* shortcut;
        const char* hint;
    } rows[] = {
        {"FOpenFileItem", "&Открыть…", "Ctrl+O", "Открыть файл| Открытие существующего файла"},
        {"LBIMode2Item", "Диагностика &датчиков", "Ctrl+T", "Диагностика датчиков| Эмуляция запросов БИ"},
        {"DeviceMode3PopupItem", "&Отключен", "Ctrl+Alt+D", " Датчик отключен"},
        {"HHelpItem", "&Вызов справки", "F1", ""},
    };
    for (const auto& row : rows) {
        QAction* a = action(row.name);
        ASSERT_NE(a, nullptr) << row.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(row.caption));
        EXPECT_EQ(a->shortcut().toString(), QLatin1String(row.shortcut));
        EXPECT_EQ(a->property("Hint").toString(), QString::fromUtf8(row.hint));
    }
    EXPECT_FALSE(action("DeviceMode3PopupItem")->icon().isNull());
    EXPECT_EQ(action("VUpdateMode2Item")->property("Tag").toInt(), 500);
    EXPECT_FALSE(action("FSaveFileItem")->isVisible());
    EXPECT_FALSE(action("DAddDeviceItem")->isEnabled());

    // Picking one radio item unchecks the other of its group.
    EXPECT_TRUE(action("LBIMode1Item")->isChecked());
    action("LBIMode2Item")->trigger();
    EXPECT_FALSE(action("LBIMode1Item")->isChecked());

    auto* scheme = qobject_cast<QMenu*>(f.Component(QStringLiteral("SchemeMenu")));
    ASSERT_NE(scheme, nullptr);
    EXPECT_FALSE(scheme->menuAction()->isVisible());
    auto* port = qobject_cast<QToolButton*>(f.Component(QStringLiteral("PortOpenButton")));
    ASSERT_NE(port, nullptr);
    EXPECT_TRUE(port->isChecked());
    EXPECT_EQ(port->toolTip(), QStringLiteral("Открытие/закрытие порта"));
    EXPECT_EQ(dynamic_cast<TPanel*>(f.Component(QStringLiteral("LineCaptionPanel")))->Caption(), QStringLiteral("Линия"));
    auto* open = qobject_cast<QFileDialog*>(f.Component(QStringLiteral("OpenSchemesDialog")));
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->windowTitle(), QStringLiteral("Открытие файла схем"));
    EXPECT_EQ(FrameHandlers.Parent, f.SchemePanel());
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Mirvane2"));
}
