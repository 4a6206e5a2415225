// The main window's component tree: every named item with its caption, shortcut, hint, Tag and
// initial state, found by object name as a user-facing test would.
#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QToolButton>

#include "MainWindowFixture.h"
#include "platform/Kit.h"
#include "ui/Hints.h"

namespace {

struct ItemRow {
    const char* name;
    const char* caption;
    const char* shortcut;   // "" none
    const char* hint;
    int tag;                // -1: not checked
    bool visible;
    bool enabled;
};

QString HintOf(QObject* o)
{
    if (TControl* c = AsControl(o))
        return c->Hint();
    return o->property("Hint").toString();
}

} // namespace

TEST_F(MainWindowTest, MenuItemsCarryCaptionsShortcutsHintsAndStates)
{
    TMirvane2Form& f = Make();
    const ItemRow rows[] = {
        {"FCreateFileItem", "Созд&ать", "Ctrl+N", "Создать файл| Создание нового файла", -1, false, true},
        {"FOpenFileItem", "&Открыть…", "Ctrl+O", "Открыть файл| Открытие существующего файла", -1, true, true},
        {"FSaveFileItem", "&Сохранить", "Ctrl+S", "Сохранить файл| Сохранение файла", -1, false, false},
        {"FSaveAsFileItem", "Сохранить &как…", "", "Сохранить файл как| Сохранение файла под другим именем", -1, false, true},
        {"FLastFileItem1", "", "", " Последние файлы", 0, false, true},
        {"FLastFileItem5", "", "", " Последние файлы", 4, false, true},
        {"FExitItem", "Вы&ход", "", " Выход из программы", -1, true, true},
        {"VUpdateDataItem", "&Обновление данных", "", " Обновление принимаемых данных", -1, true, true},
        {"VUpdateMode0Item", "&Непрерывно", "", " Непрерывное обновление данных", 0, true, true},
        {"VUpdateMode1Item", "1/&4 секунды", "", " Обновление данных не раньше 1/4 секунды", 250, true, true},
        {"VUpdateMode2Item", "1/&2 секунды", "", " Обновление данных не раньше 1/2 секунды", 500, true, true},
        {"VUpdateMode3Item", "&1 секунда", "", " Обновление данных не раньше 1 секунды", 1000, true, true},
        {"VRestoreColWidthsItem", "&Восстановить ширину столбцов", "", " Установить ширину столбцов по умолчанию", -1, true, true},
        {"LBIMode1Item", "Диагностика &БИ", "Ctrl+R", "Диагностика БИ| Приём запросов БИ", 0, true, true},
        {"LBIMode2Item", "Диагностика &датчиков", "Ctrl+T", "Диагностика датчиков| Эмуляция запросов БИ", 1, true, true},
        {"LPortNameItem", "Порт &связи", "", " Порт связи", -1, true, true},
        {"LPortOpenItem", "&Связь", "", " Открытие/закрытие порта", -1, true, true},
        {"LPortAutoDetectItem", "&Автоопределение", "", " Автоопределение порта", -1, true, true},
        {"LPortCOM1Item", "COM&1", "", " Порт COM1", 0, false, false},
        {"LPriorityItem", "&Приоритет опроса", "", " Приоритет опроса", -1, true, true},
        {"LCriticalPriorityItem", "&Максимальный", "", " Максимальный приоритет", -1, true, true},
        {"LLowerPriorityItem", "Н&иже среднего", "", " Приоритет ниже среднего", -1, true, true},
        {"LIdlePriorityItem", "Минимальный", "", " Минимальный приоритет", -1, true, true},
        {"SCreateSchemeItem", "&Создать", "", " Создание новой схемы", -1, true, true},
        {"SRenameSchemeItem", "&Переименовать", "", " Переименование схемы", -1, true, false},
        {"SDeleteSchemeItem", "&Удалить", "", " Удаление текущей схемы", -1, true, false},
        {"SClearSchemeItem", "&Очистить", "", " Удаление из схемы всех объектов", -1, true, false},
        {"DAddDeviceItem", "&Добавить", "", " Добавление датчика в схему", -1, true, false},
        {"DDeleteDeviceItem", "&Удалить", "", " Удаление датчика из схемы", -1, true, false},
        {"DFindDeviceItem", "&Найти новые…", "", " Поиск датчиков в линии", -1, true, false},
        {"HHelpItem", "&Вызов справки", "F1", "", -1, true, true},
        {"HAboutItem", "&О программе…", "", " Краткие сведения о программе и её производителе", -1, true, true},
        {"DeviceMode1PopupItem", "&Приём", "Ctrl+Alt+R", " Приём ответов датчика", 0, true, true},
        {"DeviceMode2PopupItem", "&Эмуляция", "Ctrl+Alt+S", " Эмуляция ответов датчика", 1, true, true},
        {"DeviceMode3PopupItem", "&Отключен", "Ctrl+Alt+D", " Датчик отключен", 2, true, true},
        {"DeviceStaticPopupItem", "Статический", "", " Датчик опрашивается редко", -1, true, true},
        {"LastFilePopupItem3", "", "", " Последние файлы", 2, false, true},
        {"PPortOpenItem", "&Связь", "", " Открытие/закрытие порта", -1, true, true},
        {"PPortAutoDetectItem", "&Автоопределение", "", " Автоопределение порта", -1, true, true},
        {"PPortCOM5Item", "COM&5", "", " Порт COM5", 4, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto* a = qobject_cast<QAction*>(f.Component(QLatin1String(row.name)));
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), QString::fromUtf8(row.caption));
        EXPECT_EQ(a->shortcut().toString(), QLatin1String(row.shortcut));
        EXPECT_EQ(HintOf(a), QString::fromUtf8(row.hint));
        if (row.tag >= 0) {
            EXPECT_EQ(a->property("Tag").toInt(), row.tag);
        }
        EXPECT_EQ(a->isVisible(), row.visible);
        if (row.visible) {   // a hidden action reports itself disabled whatever its own state
            EXPECT_EQ(a->isEnabled(), row.enabled);
        }
    }
}

TEST_F(MainWindowTest, RadioGroupsStartWithTheDefaultsChecked)
{
    TMirvane2Form& f = Make();
    const auto checked = [&f](const char* name) {
        return qobject_cast<QAction*>(f.Component(QLatin1String(name)))->isChecked();
    };
    EXPECT_TRUE(checked("LBIMode1Item"));
    EXPECT_FALSE(checked("LBIMode2Item"));
    EXPECT_TRUE(checked("VUpdateMode0Item"));
    EXPECT_TRUE(checked("DeviceMode1PopupItem"));
    EXPECT_TRUE(checked("LPortOpenItem"));
    EXPECT_TRUE(checked("PPortAutoDetectItem"));
    EXPECT_FALSE(checked("DeviceStaticPopupItem"));

    // Picking one radio item unchecks the other of its group.
    auto* mode2 = qobject_cast<QAction*>(f.Component(QStringLiteral("LBIMode2Item")));
    mode2->trigger();
    EXPECT_TRUE(checked("LBIMode2Item"));
    EXPECT_FALSE(checked("LBIMode1Item"));
    EXPECT_TRUE(NotBuiltCalled(QStringLiteral("BIModeItemClick"), mode2));
}

TEST_F(MainWindowTest, HiddenMenusAndMenuImages)
{
    TMirvane2Form& f = Make();
    auto* scheme = qobject_cast<QMenu*>(f.Component(QStringLiteral("SchemeMenu")));
    auto* device = qobject_cast<QMenu*>(f.Component(QStringLiteral("DeviceMenu")));
    ASSERT_TRUE(scheme && device);
    EXPECT_EQ(scheme->title(), QStringLiteral("С&хема"));
    EXPECT_FALSE(scheme->menuAction()->isVisible());
    EXPECT_EQ(device->title(), QStringLiteral("&Датчик"));
    EXPECT_FALSE(device->menuAction()->isVisible());
    for (const char* name : {"FOpenFileItem", "LBIMode1Item", "LPortOpenItem", "DAddDeviceItem", "DeviceMode3PopupItem"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(qobject_cast<QAction*>(f.Component(QLatin1String(name)))->icon().isNull());
    }
    EXPECT_EQ(f.Buttons16x16eImages.Count(), 17);
    EXPECT_EQ(f.Buttons16x16dImages.Count(), 17);
    EXPECT_EQ(f.Buttons32x32eImages.Count(), 6);
    EXPECT_EQ(f.Buttons32x32dImages.Count(), 6);
    EXPECT_EQ(f.ConnectIconsImages.Count(), 11);
    EXPECT_EQ(f.RoundButtonsImages.Count(), 6);
    EXPECT_EQ(f.RoundButtonsDisImages.Count(), 6);
}

TEST_F(MainWindowTest, ToolBarAndPanelButtons)
{
    TMirvane2Form& f = Make();
    f.show();
    struct Row {
        const char* name;
        const char* caption;
        const char* hint;
        bool visible;
        bool enabled;
        bool checked;
    } const rows[] = {
        {"CreateFileButton", "Созд&ать", "Создать файл| Создание нового файла", false, true, false},
        {"OpenFileButton", "&Открыть…", "Открыть файл| Открытие существующего файла", true, true, false},
        {"SaveFileButton", "&Сохранить", "Сохранить файл| Сохранение файла", false, false, false},
        {"BIMode1Button", "Диагностика &БИ", "Диагностика БИ| Приём запросов БИ", true, true, true},
        {"BIMode2Button", "Диагностика &датчиков", "Диагностика датчиков| Эмуляция запросов БИ", true, true, false},
        {"PortOpenButton", "", "Открытие/закрытие порта| Открытие/закрытие порта", true, true, true},
        {"ShowRightButton", "", "Показать панель| Показать панель", true, true, false},
        {"HideRightButton", "", "Скрыть панель| Скрыть панель", false, true, false},
        {"AddDeviceButton", "Добавить", "Добавить датчик| Добавление датчика в схему", false, false, false},
        {"DeleteDeviceButton", "Удалить", "Удалить датчик| Удаление датчика из схемы", false, false, false},
        {"LineDataStartButton", "Пуск", "Запустить заполнение| Запуск заполнения принимаемыми данными", false, true, false},
        {"LineDataStopButton", "Стоп", "Остановить заполнение| Прекращение заполнения принимаемыми данными", false, true, true},
        {"FindErrorsPrevButton", "", "Предыдущая ошибка| Найти предыдущую ошибку", false, true, false},
        {"DeviceMoveUpButton", "", "Датчик вверх| Переместить датчик вверх", false, true, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto* b = qobject_cast<QToolButton*>(f.Component(QLatin1String(row.name)));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), QString::fromUtf8(row.caption));
        EXPECT_EQ(b->property("Hint").toString(), QString::fromUtf8(row.hint));
        EXPECT_EQ(b->toolTip(), ShortHintOf(QString::fromUtf8(row.hint)));
        EXPECT_EQ(b->isVisible(), row.visible);   // shown on screen, with all its parents
        if (row.visible) {   // a hidden tool bar entry reports itself disabled
            EXPECT_EQ(b->isEnabled(), row.enabled);
        }
        EXPECT_EQ(b->isChecked(), row.checked);
        EXPECT_FALSE(b->icon().isNull());
    }
}

TEST_F(MainWindowTest, PanelsCaptionsAndDialogs)
{
    TMirvane2Form& f = Make();
    const struct {
        const char* name;
        const char* caption;
    } captions[] = {
        {"Panel4", "Датчики схемы"}, {"DeviceNameInfo", "-"}, {"DeviceAddrInfo", "-"}, {"DeviceDescInfo", "-"},
        {"CommentCaptionPanel", "Комментарий"}, {"DeviceCaptionPanel", "Датчики"}, {"LineCaptionPanel", "Линия"},
        {"InfoCaptionPanel", "Расшифровка"}, {"DescCaptionPanel", "Описание"},
    };
    for (const auto& c : captions) {
        SCOPED_TRACE(c.name);
        auto* panel = dynamic_cast<TPanel*>(f.Component(QLatin1String(c.name)));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->Caption(), QString::fromUtf8(c.caption));
    }
    EXPECT_EQ(f.Label1->Caption(), QStringLiteral("Схема:"));
    EXPECT_EQ(f.SameAddrCheckBox->Caption(), QStringLiteral("Разрешать одинаковые адреса"));
    EXPECT_EQ(f.SameAddrCheckBox->Hint(), QStringLiteral(" Разрешение добавления в схему датчиков с одинаковыми адресами"));
    EXPECT_FALSE(f.SameAddrCheckBox->Enabled());
    EXPECT_EQ(f.ClearDataCheckBox->Caption(), QStringLiteral("Очищать перед запуском"));
    EXPECT_TRUE(f.CommentMemo->ReadOnly());
    EXPECT_TRUE(f.HexOutStrEdit()->ReadOnly());
    EXPECT_EQ(f.SchemePanel()->objectName(), QStringLiteral("SchemePanel"));
    EXPECT_EQ(FrameHandlers.Parent, f.SchemePanel());
    EXPECT_EQ(FrameHandlers.Owner, &f);
    EXPECT_TRUE(static_cast<bool>(FrameHandlers.OnChange));
    EXPECT_TRUE(static_cast<bool>(FrameHandlers.OnUpDownChangingEx));

    auto* open = qobject_cast<QFileDialog*>(f.Component(QStringLiteral("OpenSchemesDialog")));
    auto* save = qobject_cast<QFileDialog*>(f.Component(QStringLiteral("SaveSchemesDialog")));
    ASSERT_TRUE(open && save);
    EXPECT_EQ(open->windowTitle(), QStringLiteral("Открытие файла схем"));
    EXPECT_EQ(save->windowTitle(), QStringLiteral("Сохранение файла схем"));
    EXPECT_EQ(open->defaultSuffix(), QStringLiteral("mvs"));
    EXPECT_EQ(open->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_TRUE(open->nameFilters().contains(QStringLiteral("Файлы схем (*.mvs)")));
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Mirvane2"));
}
