// The main form's menus, popup menus, tool bar and file dialogs: captions, shortcuts, Tags,
// hints, images and initial states, and the handler behind each item.
#include <QActionGroup>
#include <QButtonGroup>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>

#include "platform/Abort.h"
#include "ui/Hints.h"
#include "ui/Main.h"

namespace {

// Image indices of the 16 x 16 and 32 x 32 button lists.
enum : int {
    // clang-format off
    ImgCreateFile, ImgOpen, ImgSave, ImgMasterDiag, ImgSensorDiag, ImgPort, ImgModeReceive,
    ImgModeEmulate, ImgModeOff, ImgAddDevice, ImgDeleteDevice, ImgNewScheme, ImgRenameScheme,
    ImgDeleteScheme, ImgClearScheme, ImgStart, ImgStop,
    // clang-format on
};

struct TItem {
    QAction* a;
    // clang-format off
    TItem& Shortcut(const QKeySequence& keys) { a->setShortcut(keys); return *this; }
    TItem& Tag(int tag) { a->setProperty("Tag", tag); return *this; }
    TItem& Image(int index) { a->setProperty("ImageIndex", index); return *this; }
    TItem& Hidden() { a->setVisible(false); return *this; }
    TItem& Disabled() { a->setEnabled(false); return *this; }
    TItem& Checked(bool on = true) { a->setCheckable(true); a->setChecked(on); return *this; }
    // Radio items of one group: one checked at a time (auto-check).
    TItem& Radio(QActionGroup* group, bool on = false) { Checked(on); group->addAction(a); return *this; }
    // clang-format on
};

TItem AddItem(QMenu* menu, const char* name, const QString& caption, const QString& hint = {})
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    SetHint(a, hint);
    return TItem{a};
}

QAction* AddDelimiter(QMenu* menu, const char* name)
{
    QAction* a = menu->addSeparator();
    a->setObjectName(QLatin1String(name));
    return a;
}

QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& caption)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QActionGroup* Group(QObject* parent, const char* name)
{
    auto* group = new QActionGroup(parent);
    group->setObjectName(QLatin1String(name));
    group->setExclusive(true);
    return group;
}

// The three items that open both port menus: switch, auto-detection, delimiter; then the five
// design-time port items that the port list replaces.
void AddPortItems(QMenu* menu, char prefix, QObject* groupParent)
{
    const auto n = [prefix](const char* rest) { return QByteArray(1, prefix) + rest; };
    AddItem(menu, n("PortOpenItem"), QStringLiteral("&Связь"), QStringLiteral(" Открытие/закрытие порта"))
        .Checked()
        .Image(ImgPort);
    AddItem(menu, n("PortAutoDetectItem"), QStringLiteral("&Автоопределение"), QStringLiteral(" Автоопределение порта"))
        .Checked();
    AddDelimiter(menu, n("PrePortNameDelimiter"));
    auto* group = Group(groupParent, n("PortGroup"));
    for (int i = 1; i <= 5; ++i) {
        const QByteArray name = n("PortCOM") + QByteArray::number(i) + "Item";
        AddItem(menu, name, QStringLiteral("COM&%1").arg(i), QStringLiteral(" Порт COM%1").arg(i))
            .Radio(group)
            .Disabled()
            .Hidden()
            .Tag(i - 1);
    }
}

}   // namespace

void TMirvane2Form::BuildActions()
{
    BuildMainMenu();
    BuildPopupMenus();
}

void TMirvane2Form::BuildMainMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));

    QMenu* f = AddMenu(bar, "FileMenu", QStringLiteral("&Файл"));
    AddItem(f, "FCreateFileItem", QStringLiteral("Созд&ать"), QStringLiteral("Создать файл| Создание нового файла"))
        .Shortcut(QKeySequence(Qt::CTRL | Qt::Key_N))
        .Image(ImgCreateFile)
        .Hidden();
    AddItem(f, "FOpenFileItem", QStringLiteral("&Открыть…"), QStringLiteral("Открыть файл| Открытие существующего файла"))
        .Shortcut(QKeySequence(Qt::CTRL | Qt::Key_O))
        .Image(ImgOpen);
    AddItem(f, "FSaveFileItem", QStringLiteral("&Сохранить"), QStringLiteral("Сохранить файл| Сохранение файла"))
        .Shortcut(QKeySequence(Qt::CTRL | Qt::Key_S))
        .Image(ImgSave)
        .Disabled()
        .Hidden();
    AddItem(f, "FSaveAsFileItem", QStringLiteral("Сохранить &как…"),
            QStringLiteral("Сохранить файл как| Сохранение файла под другим именем"))
        .Hidden();
    AddDelimiter(f, "FDelimiter2");
    for (int i = 1; i <= 5; ++i)
        AddItem(f, QByteArray("FLastFileItem") + QByteArray::number(i), QString(), QStringLiteral(" Последние файлы"))
            .Tag(i - 1)
            .Hidden();
    AddDelimiter(f, "FDelimiter3");
    AddItem(f, "FExitItem", QStringLiteral("Вы&ход"), QStringLiteral(" Выход из программы"));

    QMenu* v = AddMenu(bar, "ViewMenu", QStringLiteral("&Вид"));
    QMenu* update = v->addMenu(QStringLiteral("&Обновление данных"));
    update->setObjectName(QStringLiteral("VUpdateDataMenu"));
    VUpdateDataItem = update->menuAction();
    VUpdateDataItem->setObjectName(QStringLiteral("VUpdateDataItem"));
    SetHint(VUpdateDataItem, QStringLiteral(" Обновление принимаемых данных"));
    auto* updateGroup = Group(this, "VUpdateModeGroup");
    AddItem(update, "VUpdateMode0Item", QStringLiteral("&Непрерывно"), QStringLiteral(" Непрерывное обновление данных"))
        .Tag(0)
        .Radio(updateGroup, true);
    AddItem(update, "VUpdateMode1Item", QStringLiteral("1/&4 секунды"),
            QStringLiteral(" Обновление данных не раньше 1/4 секунды"))
        .Tag(250)
        .Radio(updateGroup);
    AddItem(update, "VUpdateMode2Item", QStringLiteral("1/&2 секунды"),
            QStringLiteral(" Обновление данных не раньше 1/2 секунды"))
        .Tag(500)
        .Radio(updateGroup);
    AddItem(update, "VUpdateMode3Item", QStringLiteral("&1 секунда"),
            QStringLiteral(" Обновление данных не раньше 1 секунды"))
        .Tag(1000)
        .Radio(updateGroup);
    AddItem(v, "VRestoreColWidthsItem", QStringLiteral("&Восстановить ширину столбцов"),
            QStringLiteral(" Установить ширину столбцов по умолчанию"));

    QMenu* l = AddMenu(bar, "SetupMenu", QStringLiteral("&Настройка"));
    auto* modeGroup = Group(this, "LBIModeGroup");
    AddItem(l, "LBIMode1Item", QStringLiteral("Диагностика &БИ"), QStringLiteral("Диагностика БИ| Приём запросов БИ"))
        .Shortcut(QKeySequence(Qt::CTRL | Qt::Key_R))
        .Tag(0)
        .Image(ImgMasterDiag)
        .Radio(modeGroup, true);
    AddItem(l, "LBIMode2Item", QStringLiteral("Диагностика &датчиков"),
            QStringLiteral("Диагностика датчиков| Эмуляция запросов БИ"))
        .Shortcut(QKeySequence(Qt::CTRL | Qt::Key_T))
        .Tag(1)
        .Image(ImgSensorDiag)
        .Radio(modeGroup);
    AddDelimiter(l, "LDelimiter1");
    QMenu* ports = l->addMenu(QStringLiteral("Порт &связи"));
    ports->setObjectName(QStringLiteral("LPortNameMenu"));
    LPortNameItem = ports->menuAction();
    LPortNameItem->setObjectName(QStringLiteral("LPortNameItem"));
    SetHint(LPortNameItem, QStringLiteral(" Порт связи"));
    AddPortItems(ports, 'L', this);
    QMenu* priority = l->addMenu(QStringLiteral("&Приоритет опроса"));
    priority->setObjectName(QStringLiteral("LPriorityMenu"));
    LPriorityItem = priority->menuAction();
    LPriorityItem->setObjectName(QStringLiteral("LPriorityItem"));
    SetHint(LPriorityItem, QStringLiteral(" Приоритет опроса"));
    auto* priorityGroup = Group(this, "LPriorityGroup");
    // clang-format off
    struct { const char* name; const char* caption; const char* hint; } const priorities[] = {
        {"LCriticalPriorityItem", "&Максимальный", " Максимальный приоритет"},
        {"LHighestPriorityItem", "&Высокий", " Высокий приоритет"},
        {"LHigherPriorityItem", "В&ыше среднего", " Приоритет выше среднего"},
        {"LNormalPriorityItem", "&Средний", " Средний приоритет"},
        {"LLowerPriorityItem", "Н&иже среднего", " Приоритет ниже среднего"},
        {"LLowestPriorityItem", "&Низкий", " Низкий приоритет"},
        {"LIdlePriorityItem", "Минимальный", " Минимальный приоритет"},
    };
    // clang-format on
    for (const auto& p : priorities)
        AddItem(priority, p.name, QString::fromUtf8(p.caption), QString::fromUtf8(p.hint)).Radio(priorityGroup);

    QMenu* s = AddMenu(bar, "SchemeMenu", QStringLiteral("С&хема"));
    s->menuAction()->setVisible(false);
    AddItem(s, "SCreateSchemeItem", QStringLiteral("&Создать"), QStringLiteral(" Создание новой схемы")).Image(ImgNewScheme);
    AddItem(s, "SRenameSchemeItem", QStringLiteral("&Переименовать"), QStringLiteral(" Переименование схемы"))
        .Image(ImgRenameScheme)
        .Disabled();
    AddItem(s, "SDeleteSchemeItem", QStringLiteral("&Удалить"), QStringLiteral(" Удаление текущей схемы"))
        .Image(ImgDeleteScheme)
        .Disabled();
    AddDelimiter(s, "SDelimiter1");
    AddItem(s, "SClearSchemeItem", QStringLiteral("&Очистить"), QStringLiteral(" Удаление из схемы всех объектов"))
        .Image(ImgClearScheme)
        .Disabled();

    QMenu* d = AddMenu(bar, "DeviceMenu", QStringLiteral("&Датчик"));
    d->menuAction()->setVisible(false);
    AddItem(d, "DAddDeviceItem", QStringLiteral("&Добавить"), QStringLiteral(" Добавление датчика в схему"))
        .Image(ImgAddDevice)
        .Disabled();
    AddItem(d, "DDeleteDeviceItem", QStringLiteral("&Удалить"), QStringLiteral(" Удаление датчика из схемы"))
        .Image(ImgDeleteDevice)
        .Disabled();
    AddDelimiter(d, "DDelimiter1");
    AddItem(d, "DFindDeviceItem", QStringLiteral("&Найти новые…"), QStringLiteral(" Поиск датчиков в линии")).Disabled();

    QMenu* h = AddMenu(bar, "HelpMenu", QStringLiteral("&Справка"));
    AddItem(h, "HHelpItem", QStringLiteral("&Вызов справки")).Shortcut(QKeySequence(Qt::Key_F1));
    AddDelimiter(h, "HDelimiter1");
    AddItem(h, "HAboutItem", QStringLiteral("&О программе…"), QStringLiteral(" Краткие сведения о программе и её производителе"));
}

void TMirvane2Form::BuildPopupMenus()
{
    DeviceModePopupMenu = new QMenu(this);
    DeviceModePopupMenu->setObjectName(QStringLiteral("DeviceModePopupMenu"));
    auto* modes = Group(this, "DeviceModeGroup");
    AddItem(DeviceModePopupMenu, "DeviceMode1PopupItem", QStringLiteral("&Приём"), QStringLiteral(" Приём ответов датчика"))
        .Tag(0)
        .Shortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_R))
        .Image(ImgModeReceive)
        .Radio(modes, true);
    AddItem(DeviceModePopupMenu, "DeviceMode2PopupItem", QStringLiteral("&Эмуляция"), QStringLiteral(" Эмуляция ответов датчика"))
        .Tag(1)
        .Shortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S))
        .Image(ImgModeEmulate)
        .Radio(modes);
    AddItem(DeviceModePopupMenu, "DeviceMode3PopupItem", QStringLiteral("&Отключен"), QStringLiteral(" Датчик отключен"))
        .Tag(2)
        .Shortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_D))
        .Image(ImgModeOff)
        .Radio(modes);
    AddDelimiter(DeviceModePopupMenu, "MDelimiter1");
    AddItem(DeviceModePopupMenu, "DeviceStaticPopupItem", QStringLiteral("Статический"),
            QStringLiteral(" Датчик опрашивается редко"))
        .Checked(false);

    LastFilesPopupMenu = new QMenu(this);
    LastFilesPopupMenu->setObjectName(QStringLiteral("LastFilesPopupMenu"));
    for (int i = 1; i <= 5; ++i)
        AddItem(LastFilesPopupMenu, QByteArray("LastFilePopupItem") + QByteArray::number(i), QString(),
                QStringLiteral(" Последние файлы"))
            .Tag(i - 1)
            .Hidden();

    PortNamePopupMenu = new QMenu(this);
    PortNamePopupMenu->setObjectName(QStringLiteral("PortNamePopupMenu"));
    AddPortItems(PortNamePopupMenu, 'P', this);
}

void TMirvane2Form::BuildToolBar()
{
    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->setIconSize(QSize(32, 32));
    ToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, ToolBar);

    const auto button = [this](const char* name, const QString& caption, const QString& hint, int image) {
        auto* b = new QToolButton(ToolBar);
        b->setObjectName(QLatin1String(name));
        b->setText(caption);
        // The caption is not shown, so its key would act unseen: the menus hold the keys.
        b->setShortcut(QKeySequence());
        b->setProperty("ImageIndex", image);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setFixedSize(39, 38);
        SetHint(b, hint);
        ToolBar->addWidget(b);
        return b;
    };
    const auto separator = [this] {
        auto* gap = new QWidget(ToolBar);
        gap->setFixedWidth(8);
        ToolBar->addWidget(gap);
    };

    CreateFileButton = button("CreateFileButton", QStringLiteral("Созд&ать"),
                              QStringLiteral("Создать файл| Создание нового файла"), ImgCreateFile);
    OpenFileButton = button("OpenFileButton", QStringLiteral("&Открыть…"),
                            QStringLiteral("Открыть файл| Открытие существующего файла"), ImgOpen);
    OpenFileButton->setMenu(LastFilesPopupMenu);
    OpenFileButton->setPopupMode(QToolButton::MenuButtonPopup);
    OpenFileButton->setFixedSize(51, 38);   // room for the drop-down arrow
    SaveFileButton = button("SaveFileButton", QStringLiteral("&Сохранить"),
                            QStringLiteral("Сохранить файл| Сохранение файла"), ImgSave);
    SaveFileButton->setEnabled(false);
    separator();
    BIMode1Button = button("BIMode1Button", QStringLiteral("Диагностика &БИ"),
                           QStringLiteral("Диагностика БИ| Приём запросов БИ"), ImgMasterDiag);
    BIMode2Button = button("BIMode2Button", QStringLiteral("Диагностика &датчиков"),
                           QStringLiteral("Диагностика датчиков| Эмуляция запросов БИ"), ImgSensorDiag);
    auto* modes = new QButtonGroup(ToolBar);
    modes->setObjectName(QStringLiteral("BIModeButtonGroup"));
    for (QToolButton* b : {BIMode1Button, BIMode2Button}) {
        b->setCheckable(true);
        modes->addButton(b);
    }
    BIMode1Button->setChecked(true);
    separator();
    PortOpenButton = button("PortOpenButton", QString(),
                            QStringLiteral("Открытие/закрытие порта| Открытие/закрытие порта"), ImgPort);
    PortOpenButton->setCheckable(true);
    PortOpenButton->setChecked(true);

    Panel6 = new TPanel(ToolBar);
    Panel6->SetName(QStringLiteral("Panel6"));
    Panel6->SetBevelOuter(TPanelBevel::None);
    Panel6->setFixedSize(274, 38);
    Label1 = new TLabel(Panel6);
    Label1->SetName(QStringLiteral("Label1"));
    Label1->SetCaption(QStringLiteral("Схема:"));
    Label1->SetBounds(12, 11, 50, 16);
    CurrSchemeComboBox = new TComboBox(Panel6);
    CurrSchemeComboBox->SetName(QStringLiteral("CurrSchemeComboBox"));
    CurrSchemeComboBox->SetStyle(TComboStyle::DropDown);   // names are typed here to create or rename
    CurrSchemeComboBox->setInsertPolicy(QComboBox::InsertAlphabetically);
    CurrSchemeComboBox->setMaxVisibleItems(20);
    CurrSchemeComboBox->SetBounds(60, 8, 210, 22);
    ToolBar->addWidget(Panel6);

    // As tall as its 38-pixel buttons with the style's margins around them, so that none is cut.
    ToolBar->setFixedHeight(ToolBar->sizeHint().height());

    // Hidden buttons: a tool bar shows or hides its widgets through their actions.
    for (QAction* a : ToolBar->actions()) {
        QWidget* w = ToolBar->widgetForAction(a);
        if (w == CreateFileButton || w == SaveFileButton)
            a->setVisible(false);
    }
}

// Made when first asked for: a file dialog lists and watches its folder from the moment it is
// made, and a folder that changes while the program polls would cost it a thread's work.
void TMirvane2Form::BuildDialogs()
{
    if (OpenSchemesDialog)
        return;
    const QString filter = QStringLiteral("Файлы схем (*.mvs)");
    OpenSchemesDialog = new QFileDialog(this, QStringLiteral("Открытие файла схем"), QStringLiteral("."), filter);
    OpenSchemesDialog->setObjectName(QStringLiteral("OpenSchemesDialog"));
    OpenSchemesDialog->setAcceptMode(QFileDialog::AcceptOpen);
    OpenSchemesDialog->setFileMode(QFileDialog::ExistingFile);
    OpenSchemesDialog->setDefaultSuffix(QStringLiteral("mvs"));
    OpenSchemesDialog->setOption(QFileDialog::DontUseNativeDialog, false);

    SaveSchemesDialog = new QFileDialog(this, QStringLiteral("Сохранение файла схем"), QStringLiteral("."), filter);
    SaveSchemesDialog->setObjectName(QStringLiteral("SaveSchemesDialog"));
    SaveSchemesDialog->setAcceptMode(QFileDialog::AcceptSave);
    SaveSchemesDialog->setFileMode(QFileDialog::AnyFile);
    SaveSchemesDialog->setDefaultSuffix(QStringLiteral("mvs"));
    SaveSchemesDialog->setOption(QFileDialog::DontConfirmOverwrite, false);
}

void TMirvane2Form::ConnectHandlers()
{
    // Every handler runs guarded: a command the user cancels ends with a silent abort.
    const auto onItem = [this](const char* name, std::function<void(QObject*)> handler) {
        for (QAction* a : findChildren<QAction*>(QLatin1String(name)))
            connect(a, &QAction::triggered, this, [a, handler] { GuardUi([&] { handler(a); }); });
    };
    const auto onButton = [this](QToolButton* b, std::function<void(QObject*)> handler) {
        connect(b, &QToolButton::clicked, this, [b, handler] { GuardUi([&] { handler(b); }); });
    };
    const auto cmd = [](auto member, TMirvane2Form* form) {
        return [member, form](QObject*) { (form->*member)(); };
    };
    const auto withSender = [](auto member, TMirvane2Form* form) {
        return [member, form](QObject* sender) { (form->*member)(sender); };
    };

    onItem("FCreateFileItem", cmd(&TMirvane2Form::FCreateFileItemClick, this));
    onItem("FOpenFileItem", cmd(&TMirvane2Form::FOpenFileItemClick, this));
    onItem("FSaveFileItem", cmd(&TMirvane2Form::FSaveFileItemClick, this));
    onItem("FSaveAsFileItem", cmd(&TMirvane2Form::FSaveAsFileItemClick, this));
    for (int i = 1; i <= 5; ++i) {
        onItem(QByteArray("FLastFileItem" + QByteArray::number(i)).constData(),
               withSender(&TMirvane2Form::FLastFileItemClick, this));
        onItem(QByteArray("LastFilePopupItem" + QByteArray::number(i)).constData(),
               withSender(&TMirvane2Form::FLastFileItemClick, this));
        onItem(QByteArray("LPortCOM" + QByteArray::number(i) + "Item").constData(),
               withSender(&TMirvane2Form::LPortCOMItemClick, this));
        onItem(QByteArray("PPortCOM" + QByteArray::number(i) + "Item").constData(),
               withSender(&TMirvane2Form::LPortCOMItemClick, this));
    }
    onItem("FExitItem", cmd(&TMirvane2Form::FExitItemClick, this));
    for (const char* name : {"VUpdateMode0Item", "VUpdateMode1Item", "VUpdateMode2Item", "VUpdateMode3Item"})
        onItem(name, withSender(&TMirvane2Form::VUpdateModeItemClick, this));
    onItem("VRestoreColWidthsItem", cmd(&TMirvane2Form::VRestoreColWidthsItemClick, this));
    onItem("LBIMode1Item", withSender(&TMirvane2Form::BIModeItemClick, this));
    onItem("LBIMode2Item", withSender(&TMirvane2Form::BIModeItemClick, this));
    for (const char* name : {"LPortOpenItem", "PPortOpenItem"})
        onItem(name, cmd(&TMirvane2Form::LPortOpenItemClick, this));
    for (const char* name : {"LPortAutoDetectItem", "PPortAutoDetectItem"})
        onItem(name, cmd(&TMirvane2Form::LPortAutoDetectItemClick, this));
    for (const char* name : {"LCriticalPriorityItem", "LHighestPriorityItem", "LHigherPriorityItem",
                             "LNormalPriorityItem", "LLowerPriorityItem", "LLowestPriorityItem", "LIdlePriorityItem"})
        onItem(name, withSender(&TMirvane2Form::LPriorityItemClick, this));
    onItem("SCreateSchemeItem", cmd(&TMirvane2Form::SCreateSchemeItemClick, this));
    onItem("SRenameSchemeItem", cmd(&TMirvane2Form::SRenameSchemeItemClick, this));
    onItem("SDeleteSchemeItem", cmd(&TMirvane2Form::SDeleteSchemeItemClick, this));
    onItem("SClearSchemeItem", cmd(&TMirvane2Form::SClearSchemeItemClick, this));
    onItem("DAddDeviceItem", cmd(&TMirvane2Form::DAddDeviceItemClick, this));
    onItem("DDeleteDeviceItem", cmd(&TMirvane2Form::DDeleteDeviceItemClick, this));
    onItem("DFindDeviceItem", cmd(&TMirvane2Form::DFindDeviceItemClick, this));
    onItem("HHelpItem", cmd(&TMirvane2Form::HHelpItemClick, this));
    onItem("HAboutItem", cmd(&TMirvane2Form::HAboutItemClick, this));
    for (const char* name : {"DeviceMode1PopupItem", "DeviceMode2PopupItem", "DeviceMode3PopupItem"})
        onItem(name, withSender(&TMirvane2Form::ModeItemClick, this));
    onItem("DeviceStaticPopupItem", cmd(&TMirvane2Form::DeviceStaticPopupItemClick, this));
    // The mode popup belongs to the grid: its keys act where the popup would, in the grid and
    // its cell editor, and nowhere else in the window.
    for (QAction* a : DeviceModePopupMenu->actions())
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    SchemeGrid->addActions(DeviceModePopupMenu->actions());

    // Tool buttons act as their menu items.
    onButton(CreateFileButton, cmd(&TMirvane2Form::FCreateFileItemClick, this));
    onButton(OpenFileButton, cmd(&TMirvane2Form::FOpenFileItemClick, this));
    onButton(SaveFileButton, cmd(&TMirvane2Form::FSaveFileItemClick, this));
    QAction* mode1 = findChild<QAction*>(QStringLiteral("LBIMode1Item"));
    QAction* mode2 = findChild<QAction*>(QStringLiteral("LBIMode2Item"));
    onButton(BIMode1Button, [this, mode1](QObject*) { BIModeItemClick(mode1); });
    onButton(BIMode2Button, [this, mode2](QObject*) { BIModeItemClick(mode2); });
    onButton(PortOpenButton, cmd(&TMirvane2Form::LPortOpenItemClick, this));
    onButton(AddDeviceButton, cmd(&TMirvane2Form::DAddDeviceItemClick, this));
    onButton(DeleteDeviceButton, cmd(&TMirvane2Form::DDeleteDeviceItemClick, this));
    onButton(ShowRightButton, withSender(&TMirvane2Form::RightPanelButtonClick, this));
    onButton(HideRightButton, withSender(&TMirvane2Form::RightPanelButtonClick, this));
    onButton(ShowInfoButton, withSender(&TMirvane2Form::DataInfoButtonClick, this));
    onButton(HideInfoButton, withSender(&TMirvane2Form::DataInfoButtonClick, this));
    onButton(DeviceMoveUpButton, withSender(&TMirvane2Form::DeviceMoveButtonClick, this));
    onButton(DeviceMoveDownButton, withSender(&TMirvane2Form::DeviceMoveButtonClick, this));
    onButton(LineDataStartButton, withSender(&TMirvane2Form::LineDataButtonClick, this));
    onButton(LineDataStopButton, withSender(&TMirvane2Form::LineDataButtonClick, this));
    onButton(FindErrorsPrevButton, withSender(&TMirvane2Form::FindErrorsButtonClick, this));
    onButton(FindErrorsNextButton, withSender(&TMirvane2Form::FindErrorsButtonClick, this));

    CurrSchemeComboBox->OnSelect = [this](QObject* s) { GuardUi([&] { CurrSchemeComboBoxSelect(s); }); };
    CommentMemo->OnChange = [this](QObject* s) { GuardUi([&] { CommentMemoChange(s); }); };
    ConnectSchemeControls();
    ConnectSchemeGrid();
    ConnectLineMonitor();
}

void TMirvane2Form::ApplyButtonImages()
{
    for (QAction* a : findChildren<QAction*>()) {
        const QVariant image = a->property("ImageIndex");
        if (image.isValid())
            a->setIcon(ButtonIcon(Buttons16x16eImages, Buttons16x16dImages, image.toInt()));
    }
    for (QToolButton* b : ToolBar->findChildren<QToolButton*>()) {
        const QVariant image = b->property("ImageIndex");
        if (image.isValid())
            b->setIcon(ButtonIcon(Buttons32x32eImages, Buttons32x32dImages, image.toInt()));
    }
    for (QToolButton* b : {AddDeviceButton, DeleteDeviceButton, LineDataStartButton, LineDataStopButton})
        b->setIcon(ButtonIcon(Buttons16x16eImages, Buttons16x16dImages, b->property("ImageIndex").toInt()));
}
