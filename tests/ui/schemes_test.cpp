// Schemes, devices and modes: the scheme commands, opening a scheme, the catalogue list, adding,
// removing, selecting and moving devices, the line and device modes, the watchdog's expiry and
// the scheme editor's switch.
#include <QTest>
#include <QTreeWidget>
#include <map>

#include "WindowFixture.h"
#include "line/LineEngine.h"
#include "line/Protocol.h"
#include "support/ScriptedPort.h"
#include "ui/MainParts.h"

// Ctrl+Alt+K switches the scheme editor on (and off again); Ctrl+K alone is no switch.
class SchemeEditorTest : public SchemeWindowTest {
protected:
    void SetUp() override
    {
        SchemeWindowTest::SetUp();
        ASSERT_EQ(PressK(Qt::ControlModifier), int(Qt::Key_K));
        ASSERT_EQ(PressK(Qt::ControlModifier | Qt::AltModifier), 0);
        ASSERT_TRUE(ConstructorMode && !form->CommentMemo->ReadOnly());
    }
    int PressK(TShiftState shift)   // the key left for others
    {
        int key = Qt::Key_K;
        form->FormKeyDown(form.get(), key, shift);
        return key;
    }
    void OpenSchemes(std::initializer_list<TSchemeLayout> layouts) { Open(WriteSchemeFile(QStringLiteral("s.mvs"), layouts)); }
    void Type(const QString& text) { form->CurrSchemeComboBox->setEditText(text); }
    QTreeWidgetItem* CatalogueItemOf(int row) const
    {
        for (int i = 0; i < form->DevicesListView->topLevelItemCount(); ++i)
            if (static_cast<TCatalogueItem*>(form->DevicesListView->topLevelItem(i))->Row() == row)
                return form->DevicesListView->topLevelItem(i);
        return nullptr;
    }
};

TEST_F(SchemeEditorTest, CreatingASchemeFindsAFreeName)
{
    // clang-format off
    struct { const char* typed; QStringList existing; const char* created; } const cases[] = {
        {"", {}, "Схема 1"},
        {"", {QStringLiteral("Кран"), QStringLiteral("кран1")}, "Кран2"},   // the first item's name, numbered on
        {"  Новая  ", {QStringLiteral("А")}, "Новая"},
        {"а", {QStringLiteral("А")}, "а1"},
    };
    // clang-format on
    for (const auto& c : cases) {
        form->Schemes.clear();
        for (const QString& name : c.existing)
            form->Schemes.push_back(std::make_unique<TDeviceScheme>(name));
        Run([&] { form->FillSchemeComboBox(QString()); });
        Type(QString::fromUtf8(c.typed));
        Run([&] { form->SCreateSchemeItemClick(); });
        ASSERT_NE(CurrentScheme, nullptr) << c.created;
        EXPECT_EQ(CurrentScheme->Name, QString::fromUtf8(c.created));
    }
    EXPECT_EQ(PressK(Qt::ControlModifier | Qt::AltModifier), 0);   // off: nothing is created
    EXPECT_TRUE(!ConstructorMode && form->CommentMemo->ReadOnly());
    Run([&] { form->SCreateSchemeItemClick(); });
    EXPECT_EQ(form->Schemes.size(), 2u);
}

TEST_F(SchemeEditorTest, RenamingAndDeletingSchemes)
{
    OpenSchemes({{QStringLiteral("Б"), {RowAt(1)}}, {QStringLiteral("В"), {RowAt(2)}}});
    Type(QStringLiteral("  "));   // empty text is restored
    Run([&] { form->SRenameSchemeItemClick(); });
    EXPECT_EQ(form->CurrSchemeComboBox->Text(), QStringLiteral("Б"));
    Type(QStringLiteral("в"));   // another scheme's name: that scheme is chosen, nothing renamed
    Run([&] { form->SRenameSchemeItemClick(); });
    EXPECT_EQ(CurrentScheme->Name, QStringLiteral("В"));
    EXPECT_FALSE(form->Modified);
    Type(QStringLiteral("Я"));
    Run([&] { form->SRenameSchemeItemClick(); });
    EXPECT_EQ(form->CurrSchemeComboBox->Items(), (QStringList{QStringLiteral("Б"), QStringLiteral("Я")}));   // resorted
    EXPECT_TRUE(form->Modified);

    // Deleting releases the scheme's devices and chooses the next, for the last item the new last.
    Run([&] { form->SDeleteSchemeItemClick(); });
    ASSERT_NE(CurrentScheme, nullptr);
    EXPECT_EQ(CurrentScheme->Name, QStringLiteral("Б"));
    EXPECT_EQ(form->Devices().size(), 1u);
    Run([&] { form->SDeleteSchemeItemClick(); });
    EXPECT_TRUE(!CurrentScheme && form->Schemes.empty() && form->Devices().empty());
    EXPECT_FALSE(Action("SDeleteSchemeItem")->isEnabled() || Action("DAddDeviceItem")->isEnabled());
}

TEST_F(SchemeEditorTest, OpeningASchemeListsTheRestOfTheCatalogueAndTwoQuickChoicesOpenOnlyTheLast)
{
    const int azimuth = RowAt(4, 0), sibling = RowAt(4, 1);
    OpenSchemes({{QStringLiteral("A"), {azimuth, RowAt(1)}}, {QStringLiteral("B"), {RowAt(3)}}, {QStringLiteral("C"), {RowAt(5)}}});
    EXPECT_EQ(form->DevicesListView->topLevelItemCount(), DeviceCatalogueCount - 2);   // its devices: the scheme walk's test
    EXPECT_EQ(CatalogueItemOf(azimuth), nullptr);
    // A row that shares its address with a scheme device stays listed, greyed, and cannot be added.
    QTreeWidgetItem* greyed = CatalogueItemOf(sibling);
    ASSERT_NE(greyed, nullptr);
    form->DevicesListView->setCurrentItem(greyed);
    EXPECT_FALSE(Action("DAddDeviceItem")->isEnabled() || form->AddDeviceButton->isEnabled());
    form->DevicesListViewDblClick();
    EXPECT_EQ(CurrentScheme->Objects.size(), 2u);

    form->CurrSchemeComboBox->SetItemIndex(1);
    form->CurrSchemeComboBoxSelect(form->CurrSchemeComboBox);
    EXPECT_FALSE(Action("LBIMode2Item")->isEnabled());   // no line-mode change while devices are made
    bool canSelect = true;                               // nor a cell chosen
    form->GridControl->SelectCell(3, 0, canSelect);
    EXPECT_FALSE(canSelect);
    form->CurrSchemeComboBox->SetItemIndex(2);
    form->CurrSchemeComboBoxSelect(form->CurrSchemeComboBox);
    ASSERT_TRUE(WaitOpened() && CurrentScheme);
    EXPECT_EQ(CurrentScheme->Name, QStringLiteral("C"));
    ASSERT_EQ(form->Devices().size(), 1u);
    EXPECT_EQ(Device(0)->FrameInfo, &DeviceCatalogue[RowAt(5)]);
    EXPECT_TRUE(Action("LBIMode2Item")->isEnabled());
}

TEST_F(SchemeEditorTest, AddingRemovingAndClearingDevices)
{
    OpenSchemes({{QStringLiteral("S"), {}}});
    form->RightPanelButtonClick(form->ShowRightButton);   // the catalogue in view
    const int rows[] = {RowAt(1), RowAt(2), RowAt(3)};
    LineMode = LineModeSensors;   // a new device gets mode 1 - line mode
    for (int row : rows) {
        form->DevicesListView->setCurrentItem(CatalogueItemOf(row));
        Run([&] { form->DAddDeviceItemClick(); });
        EXPECT_EQ(CatalogueItemOf(row), nullptr);
    }
    ASSERT_EQ(CurrentScheme->Objects.size(), 3u);
    EXPECT_TRUE(Action("SClearSchemeItem")->isEnabled());
    const TSchemeObject& first = *CurrentScheme->Objects[0];
    EXPECT_EQ(first.Name, QString::fromUtf8(DeviceCatalogue[rows[0]].Model) + QStringLiteral(" (01)"));
    EXPECT_EQ(first.Mode, ModeReceive);
    EXPECT_EQ(form->DevicesByAddr()[DeviceCatalogue[rows[2]].Address], Device(2));

    // Removing the selected first device selects the last one and lists its row again.
    TDeviceInfo* last = Device(2);
    form->SelectDevice(Device(0));
    Run([&] { form->DDeleteDeviceItemClick(); });
    EXPECT_EQ(form->CurrentDevice(), last);
    EXPECT_EQ(form->DevicesByAddr()[1], nullptr);
    EXPECT_EQ(form->DevicesListView->currentItem(), CatalogueItemOf(rows[0]));

    form->SetModified(false);
    Run([&] { form->SClearSchemeItemClick(); });
    EXPECT_TRUE(CurrentScheme->Objects.empty() && form->Devices().empty() && !form->CurrentDevice());
    EXPECT_TRUE(form->Modified);
    EXPECT_FALSE(Action("SClearSchemeItem")->isEnabled());   // nothing left to clear
}

// The catalogue list sorts by the column clicked, marked in its caption: by model with ties by
// address (also as a scheme's opening fills it in catalogue order), by description, by address.
TEST_F(SchemeEditorTest, TheCatalogueSortsByTheColumnClicked)
{
    form->DevicesListViewColumnClick(0);
    OpenSchemes({{QStringLiteral("S"), {}}});
    QTreeWidget* list = form->DevicesListView;
    const auto texts = [list](int item) {
        const QTreeWidgetItem* i = list->topLevelItem(item);
        return (i->text(0) + u'|' + i->text(1) + u'|' + i->text(2)).toStdString();
    };
    const int last = DeviceCatalogueCount - 1;
    ASSERT_EQ(list->topLevelItemCount(), DeviceCatalogueCount);
    // clang-format off
    const struct { int column; const char* header; std::vector<std::pair<int, const char*>> items; } sorts[] = {
        {0, "Название *", {{0, "Azimuth-1|Датчик азимута|04"}, {1, "Azimuth-2|Датчик азимута|04"},
                           {2, "Azimuth-2|Датчик азимута|0E"}, {last, "Данные двигателя|Данные двигателя|3D"}}},
        {1, "Описание *", {{0, "Joystick-1|Аппарат управления|3B"}, {last, "Ultrasonic-1|Ультразвуковой дальномер|1C"}}},
        {2, "А *", {{0, "Tilt-2|Датчик продольного угла наклона|01"}, {last, "TTY|Терминал|3E"}}},
    };
    // clang-format on
    for (const auto& sort : sorts) {
        form->DevicesListViewColumnClick(sort.column);
        EXPECT_EQ(list->headerItem()->text(sort.column).toStdString(), sort.header);
        for (const auto& [item, shown] : sort.items)
            EXPECT_EQ(texts(item), shown) << "sorted by column " << sort.column << ", item " << item;
    }
}

TEST_F(SchemeEditorTest, SelectingAndMovingADevice)
{
    OpenSchemes({{QStringLiteral("S"), {RowAt(1), RowAt(10), RowAt(3)}}});
    FileComment = QStringLiteral("файл");
    TDeviceInfo* device = Device(1);
    form->SelectDevice(device);
    ASSERT_TRUE(device->Frame && device->Frame->isVisibleTo(form->SchemePanel()));
    form->CommentMemo->SetText(QStringLiteral("датчик"));   // the editor's memo writes the device's comment
    EXPECT_EQ(device->SchemeObject->Comment, QStringLiteral("датчик"));
    form->SelectDevice(nullptr);
    EXPECT_EQ(form->CommentMemo->Text(), QStringLiteral("файл"));
    EXPECT_FALSE(device->Frame->isVisibleTo(form->SchemePanel()));
    form->CommentMemo->SetText(QStringLiteral("новый"));
    EXPECT_EQ(FileComment, QStringLiteral("новый"));

    // Moving a device swaps its object and row; Devices keeps the creation (poll) order.
    TDeviceInfo* moved = Device(2);
    form->GridControl->SetCurrentRow(2);
    form->DeviceMoveButtonClick(form->DeviceMoveUpButton);
    EXPECT_EQ(CurrentScheme->Objects[1].get(), moved->SchemeObject);
    EXPECT_EQ(form->GridControl->RowDevice(1), moved);
    EXPECT_EQ(form->SchemeGrid->currentRow(), 1);
    EXPECT_EQ(Device(1), device);
    EXPECT_EQ(Device(2), moved);
    form->DeviceMoveButtonClick(form->DeviceMoveDownButton);
    form->DeviceMoveButtonClick(form->DeviceMoveDownButton);   // already last: nothing
    EXPECT_EQ(CurrentScheme->Objects[2].get(), moved->SchemeObject);
    EXPECT_EQ(form->GridControl->RowDevice(2), moved);

    // Removing the first grid row's device after a move selects its neighbour in Devices.
    form->DeviceMoveButtonClick(form->DeviceMoveUpButton);
    form->DeviceMoveButtonClick(form->DeviceMoveUpButton);   // rows: 2, 0, 1
    ASSERT_EQ(form->GridControl->RowDevice(0), moved);
    form->SelectDevice(moved);
    Run([&] { form->DDeleteDeviceItemClick(); });
    EXPECT_EQ(form->CurrentDevice(), device);   // the one before it in creation order
    EXPECT_EQ(form->GridControl->RowDevice(1), device);
}

TEST_F(SchemeWindowTest, DeviceAndLineModesStaticFlagAndWatchdogs)
{
    Open(WriteSchemeFile(QStringLiteral("m.mvs"), {{QStringLiteral("A"), {RowAt(1), RowAt(2)}}, {QStringLiteral("B"), {RowAt(3)}}}));
    TDeviceInfo* device = Device(0);
    form->SelectDevice(device);
    device->NextPollTick = 77;
    Run([&] { form->ModeItemClick(Action("DeviceMode1PopupItem")); });   // "Приём"
    EXPECT_EQ(device->SchemeObject->Mode, ModeReceive);
    EXPECT_EQ(device->NextPollTick, 0u);
    Run([&] { form->DeviceStaticPopupItemClick(); });   // the cells are the grid commands' test
    EXPECT_FALSE(device->TimerActive());
    device->SetGridCell(7, QStringLiteral("5"));
    form->WMTimer(device);   // a static device's period shows no value in "Диагностика БИ"
    EXPECT_EQ(device->GridCell(7) + "|" + device->GridCell(8) + "|" + device->GridCell(9), QStringLiteral("|-|"));
    Run([&] { form->DeviceStaticPopupItemClick(); });
    EXPECT_TRUE(device->TimerActive());   // watched again in "Диагностика БИ"
    device->AnswerCount = 5;
    Run([&] { form->ModeItemClick(Action("DeviceMode3PopupItem")); });   // "Отключен"
    Run([&] { form->ModeItemClick(nullptr); });                          // no item: no change
    EXPECT_EQ(device->SchemeObject->Mode, ModeDisabled);
    EXPECT_EQ(device->AnswerCount, 0);
    EXPECT_FALSE(device->TimerActive());

    // The watchdog's expiry forgets the exchanges of a live device only.
    Run([&] { form->ModeItemClick(Action("DeviceMode1PopupItem")); });
    device->RequestText = QStringLiteral("AA");
    device->AnswerCount = 3;
    device->StartTimer();
    form->HexOutStrEdit()->SetText(QStringLiteral("AA"));
    form->WMTimer(device);
    EXPECT_TRUE(device->RequestText.isEmpty() && form->HexOutStrEdit()->Text().isEmpty());
    EXPECT_EQ(device->AnswerCount, 0);

    // The line mode leaves disabled devices alone and stops the others' watchdogs for polling.
    TDeviceInfo* disabled = Device(1);
    disabled->SchemeObject->Mode = ModeDisabled;
    device->StartTimer();
    disabled->StartTimer();
    device->RequestText = disabled->RequestText = QStringLiteral("01 02");
    Run([&] { Action("LBIMode2Item")->trigger(); });
    EXPECT_EQ(LineMode.load(), LineModeSensors);
    EXPECT_FALSE(device->TimerActive() || !device->RequestText.isEmpty());
    EXPECT_EQ(device->SchemeObject->Mode, ModeReceive);
    EXPECT_TRUE(disabled->TimerActive() && !disabled->RequestText.isEmpty());
    EXPECT_EQ(disabled->SchemeObject->Mode, ModeDisabled);
    EXPECT_EQ(form->Schemes[1]->Objects[0]->Mode, ModeReceive);   // every scheme of the file
    Run([&] { form->DeviceStaticPopupItemClick(); });
    Run([&] { form->DeviceStaticPopupItemClick(); });
    EXPECT_FALSE(device->TimerActive());   // polled devices are watched by their polls
    // A late notice for a device of a scheme that was closed meanwhile is dropped.
    Run([&] { form->SelectScheme(nullptr); });
    form->WMTimer(device);
    EXPECT_TRUE(form->Devices().empty());
}

namespace {
// What a device's answer side shows: every edit's text, box and combo choice of its panel, and
// the grid's answer cells.
std::string AnswerShown(const TDeviceInfo& device)
{
    QStringList shown;
    for (QWidget* w : device.AnswerPanel->findChildren<QWidget*>()) {
        if (auto* edit = dynamic_cast<TEdit*>(w))
            shown << edit->Name() + '=' + edit->Text();
        else if (auto* box = dynamic_cast<TCheckBox*>(w))
            shown << box->Name() + '=' + QString::number(box->Checked());
        else if (auto* radio = dynamic_cast<TRadioButton*>(w))
            shown << radio->Name() + '=' + QString::number(radio->Checked());
        else if (auto* combo = dynamic_cast<TComboBox*>(w))
            shown << combo->Name() + '=' + QString::number(combo->ItemIndex());
    }
    for (int column = 3; column <= 6; ++column)
        shown << device.GridCell(column);
    return shown.join(QStringLiteral("; ")).toStdString();
}
// The emulated answer as the line engine sends it: built from the frame, address byte first and
// the check byte last.
std::string Sent(TDeviceInfo& device)
{
    device.FrameToAnswer();
    const int length = device.FrameInfo->AnswerLength;
    TMessageImage message = device.SchemeObject->Answer;
    message[0] = device.FrameInfo->Address;
    message[std::size_t(length - 1)] = CheckByteOf(message.data(), length - 1);
    QStringList bytes;
    for (int i = 0; i < length; ++i)
        bytes << HexByte(message[std::size_t(i)]);
    return bytes.join(' ').toStdString();
}
}   // namespace

// Every frame: what the user set for an emulated answer in "Диагностика БИ" (each edit, box and
// combo of the answer side) is still shown after Ctrl+T and Ctrl+R, also when the devices stayed
// silent meanwhile, and the answer sent then is the one sent before. The terminal's value 9 goes
// out as 3E 01 09 00 36 again.
TEST_F(SchemeWindowTest, EmulatedAnswersSurviveALineModeRoundTrip)
{
    // One scheme per catalogue row of an address: every row once, a device per address.
    TSchemeList schemes;
    for (int address = 0; address < 64; ++address)
        for (std::size_t k = 0; k < FrameInfoVectors[std::size_t(address)].size(); ++k) {
            if (schemes.size() <= k)
                schemes.push_back(std::make_unique<TDeviceScheme>(QStringLiteral("S%1").arg(k)));
            const int row = RowAt(address, k);
            schemes[k]->Objects.push_back(
                std::make_unique<TSchemeObject>(QString::fromUtf8(DeviceCatalogue[row].Model), std::uint32_t(row), ModeEmulate));
        }
    ASSERT_TRUE(SaveSchemeFile(Path(QStringLiteral("all.mvs")), schemes, FileComment));
    PortOpen = false;
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    // Ctrl+T and Ctrl+R. In "Диагностика датчиков" the devices may stay silent: each then gets
    // the no-answer notice that the receive thread sends a silent device.
    const auto roundTrip = [this](bool silent) {
        QTest::keyClick(form.get(), Qt::Key_T, Qt::ControlModifier);
        ASSERT_EQ(LineMode.load(), LineModeSensors);
        for (const auto& owned : form->Devices())
            if (silent)
                form->WMTimer(owned.get());
        QTest::keyClick(form.get(), Qt::Key_R, Qt::ControlModifier);
        ASSERT_EQ(LineMode.load(), LineModeMaster);
    };
    Open(Path(QStringLiteral("all.mvs")));
    ASSERT_EQ(CurrentScheme->Name, QStringLiteral("S0"));

    // The terminal as the user meets it.
    TDeviceInfo* terminal = form->DevicesByAddr()[62];
    ASSERT_TRUE(terminal);
    form->SelectDevice(terminal);
    terminal->Frame->findChild<TEdit*>(QStringLiteral("Edit1"))->SetText(QStringLiteral("9"));
    ASSERT_EQ(Sent(*terminal), "3E 01 09 00 36");
    roundTrip(false);
    form->SelectDevice(terminal);
    EXPECT_EQ(terminal->Frame->findChild<TEdit*>(QStringLiteral("Edit1"))->Text().toStdString(), "9");
    EXPECT_EQ(Sent(*terminal), "3E 01 09 00 36");

    // The user's values: a number in each edit, each combo's second item, and every box turned
    // over, or every box ticked (the clock then answers with the time it is sent at: only what
    // is shown is compared).
    // clang-format off
    struct { bool turnOver, silent; } const passes[] = {{true, false}, {true, true}, {false, true}};
    // clang-format on
    int checked = 0;
    for (int s = 0; s < form->CurrSchemeComboBox->count(); ++s) {
        form->CurrSchemeComboBox->SetItemIndex(s);
        Run([&] { form->CurrSchemeComboBoxSelect(form->CurrSchemeComboBox); });
        for (const auto& pass : passes) {
            std::map<TDeviceInfo*, std::pair<std::string, std::string>> before;   // shown, sent
            for (const auto& owned : form->Devices()) {
                TDeviceInfo* device = owned.get();
                form->SelectDevice(device);
                int n = 0;
                for (TControl* c : Controls(device->AnswerPanel)) {
                    if (auto* edit = dynamic_cast<TEdit*>(c))
                        edit->SetText(QString::number(++n + 5));
                    else if (auto* box = dynamic_cast<TCheckBox*>(c))
                        box->SetChecked(pass.turnOver ? !box->Checked() : true);
                    else if (auto* combo = dynamic_cast<TComboBox*>(c); combo && combo->count() > 1) {
                        combo->SetItemIndex(1);
                        emit combo->activated(1);
                    }
                }
                device->ShowData(false);   // the side as the window shows it
                before[device] = {AnswerShown(*device), pass.turnOver ? Sent(*device) : std::string()};
            }
            roundTrip(pass.silent);
            for (const auto& [device, shown] : before) {
                form->SelectDevice(device);   // its frame as the user sees it
                const std::string model = DeviceCatalogue[device->SchemeObject->Type].Model;
                EXPECT_EQ(AnswerShown(*device), shown.first) << model << (pass.silent ? " silent" : "");
                if (pass.turnOver) {
                    EXPECT_EQ(Sent(*device), shown.second) << model << (pass.silent ? " silent" : "");
                }
                checked += pass.turnOver && !pass.silent;
            }
        }
    }
    EXPECT_EQ(checked, DeviceCatalogueCount);
}

// The scheme opened at start (here the new file's) leaves a catalogue row highlighted: the scheme
// editor shows that row's long description below the list as soon as it shows them.
TEST_F(MainWindowTest, TheHighlightedCatalogueRowIsDescribedFromTheStart)
{
    PortOpen = false;
    TMirvane2Form& f = StartUp();
    ASSERT_TRUE(WaitOpened());
    QTest::keyClick(f.SchemeGrid, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
    f.RightPanelButtonClick(f.ShowRightButton);
    f.DataInfoButtonClick(f.ShowInfoButton);
    ASSERT_TRUE(ConstructorMode && f.DescMemo->isVisibleTo(&f));
    const auto* highlighted = static_cast<TCatalogueItem*>(f.DevicesListView->currentItem());
    ASSERT_TRUE(highlighted);
    EXPECT_EQ(f.DescMemo->Text(), QString::fromUtf8(highlighted->Info().LongDescription));
}

// "Датчик → Добавить" with the catalogue panel collapsed adds nothing unseen: it opens the panel
// on the highlighted row, which the next "Добавить" adds.
TEST_F(SchemeEditorTest, AddingWithTheCataloguePanelCollapsedShowsItFirst)
{
    OpenSchemes({{QStringLiteral("S"), {}}});
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ASSERT_FALSE(form->RightPanel->isVisible());
    QTreeWidgetItem* highlighted = CatalogueItemOf(RowAt(1));
    form->DevicesListView->setCurrentItem(highlighted);
    ASSERT_TRUE(Action("DAddDeviceItem")->isEnabled());
    Run([&] { Action("DAddDeviceItem")->trigger(); });
    EXPECT_TRUE(CurrentScheme->Objects.empty());
    EXPECT_TRUE(form->DevicesListView->isVisible());
    EXPECT_EQ(form->DevicesListView->currentItem(), highlighted);
    EXPECT_TRUE(form->DevicesListView->viewport()->rect().contains(form->DevicesListView->visualItemRect(highlighted)));
    EXPECT_EQ(QApplication::focusWidget(), form->DevicesListView);
    Run([&] { Action("DAddDeviceItem")->trigger(); });
    ASSERT_EQ(CurrentScheme->Objects.size(), 1u);
    EXPECT_EQ(CurrentScheme->Objects[0]->Type, std::uint32_t(RowAt(1)));
}

// In "Диагностика БИ" the line's exchanges, heard through the window: every exchange restarts the
// watchdog of a device that is not static; another row's or a failed exchange empties what a
// received device showed, while the answer the user set for an emulated device stays, also when
// its watchdog expires.
TEST_F(SchemeTest, ExchangesInBIDiagnosticsWatchLiveDevicesAndKeepTheEmulatedAnswers)
{
    const int ioBlock = 4, gearBlock = 1;   // address 50: answers of 6 and of 7 bytes
    const ScopedFrameClass ioFrame(ioBlock, CreateTestAnswerFrame);
    TDeviceInfo* emulated = AddDevice(rows[0], ModeEmulate);
    TDeviceInfo* still = AddDevice(rows[1], ModeReceive);
    TDeviceInfo* received = AddDevice(ioBlock, ModeReceive);
    form->show();
    form->SelectDevice(still);
    Run([&] { form->DeviceStaticPopupItemClick(); });
    const auto valueShown = [&](TDeviceInfo* device) {   // as the user sees it, the device selected
        form->SelectDevice(device);
        return static_cast<TTestAnswerFrame*>(device->Frame.data())->ValueEdit->Text().toStdString();
    };
    form->SelectDevice(emulated);
    static_cast<TTestAnswerFrame*>(emulated->Frame.data())->ValueEdit->SetText(QStringLiteral("9"));

    VirtualClock clock;
    SlowSynchronizer direct{clock, [] { return 0u; }};
    TLineEngine engine(*form, clock, direct);
    ScriptedPort line(clock);
    line.Bind(engine.Port);
    engine.Port.Open();
    engine.PortOpened();
    const auto play = [&](const Bytes& bytes) {
        line.PlayAfter(300, bytes);
        for (int i = 0; i < 1000 && !(line.Timeline().empty() && engine.RxBytes.Count == 0); ++i)
            engine.FramingPass();
    };
    play(Request(rows[0]));   // answered by the program
    play(Join(Request(rows[1]), Answer(rows[1], {0x01, 0x02})));
    play(Join(Request(ioBlock), Answer(ioBlock, {0x21, 0x02, 0x03, 0x04})));
    EXPECT_EQ(line.CallsOf(ScriptedPort::Op::Write).size(), 1u);
    EXPECT_TRUE(emulated->TimerActive() && received->TimerActive());
    EXPECT_FALSE(still->TimerActive());
    EXPECT_EQ(valueShown(received), "33");

    play(Join(Request(gearBlock), Answer(gearBlock, {0x01, 0x02, 0x03, 0x04, 0x05})));
    EXPECT_EQ(valueShown(received), "");
    EXPECT_EQ(received->GridCell(9), QStringLiteral("Другой датчик"));
    line.Echoes = false;   // the program's answer is not heard back: no answer
    play(Request(rows[0]));
    line.Echoes = true;
    play(Join(Request(rows[1]), Answer(rows[1], {0x01, 0x02})));
    EXPECT_EQ(emulated->GridCell(9), QStringLiteral("Нет ответа"));
    form->WMTimer(emulated);
    EXPECT_EQ(valueShown(emulated), "9");
    EXPECT_EQ(emulated->SchemeObject->Answer[1], 9);
    EXPECT_EQ(Cell(0, 3), QStringLiteral("9"));
}
