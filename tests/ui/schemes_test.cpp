// Schemes, devices and modes: the scheme commands, opening a scheme, the catalogue list, adding,
// removing, selecting and moving devices, the line and device modes, the watchdog's expiry and
// the scheme editor's switch.
#include <QKeyEvent>
#include <QMenu>
#include <QToolButton>
#include <QTreeWidget>

#include "SchemeWindowFixture.h"
#include "ui/MainParts.h"

namespace {
QStringList SchemeNames(const TSchemeList& schemes)
{
    QStringList names;
    for (const auto& s : schemes)
        names << s->Name;
    return names;
}
}

class SchemeEditorTest : public SchemeWindowTest {
protected:
    void SetUp() override
    {
        SchemeWindowTest::SetUp();
        ConstructorMode = 1;
        form->ApplyConstructorMode();
    }
    void OpenSchemes(std::initializer_list<TSchemeSpec> specs)
    {
        Open(WriteSchemeFile(QStringLiteral("schemes.mvs"), specs));
    }
    void Type(const QString& text) { form->CurrSchemeComboBox->setEditText(text); }
    void Choose(int index)
    {
        form->CurrSchemeComboBox->SetItemIndex(index);
        Run([&] { form->CurrSchemeComboBoxSelect(form->CurrSchemeComboBox); });
    }
    TDeviceInfo* Device(std::size_t i) const { return form->Devices().at(i).get(); }
    void Select(TDeviceInfo* device) { form->SelectDevice(device); }
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
    struct { const char* typed; QStringList existing; const char* created; } const cases[] = {
        {"", {}, "Схема 1"},
        {"", {QStringLiteral("Кран"), QStringLiteral("кран1")}, "Кран2"},   // the first item's name, numbered on
        {"  Новая  ", {QStringLiteral("А")}, "Новая"},
        {"а", {QStringLiteral("А")}, "а1"},
    };
    for (const auto& c : cases) {
        form->Schemes.clear();
        for (const QString& name : c.existing)
            form->Schemes.push_back(std::make_unique<TDeviceScheme>(name));
        Run([&] { form->FillSchemeComboBox(QString()); });
        Type(QString::fromUtf8(c.typed));
        Run([&] { form->SCreateSchemeItemClick(); });
        ASSERT_NE(CurrentScheme, nullptr) << c.created;
        EXPECT_EQ(CurrentScheme->Name, QString::fromUtf8(c.created));
        EXPECT_EQ(form->CurrSchemeComboBox->Text(), QString::fromUtf8(c.created));
        EXPECT_EQ(form->Schemes.size(), std::size_t(c.existing.size() + 1));
        EXPECT_TRUE(form->Modified);
    }
    // Outside the editor nothing is created.
    ConstructorMode = 0;
    Run([&] { form->SCreateSchemeItemClick(); });
    EXPECT_EQ(form->Schemes.size(), 2u);
}

TEST_F(SchemeEditorTest, RenamingRestoresEmptyTextSelectsAnotherSchemesNameAndResorts)
{
    OpenSchemes({{QStringLiteral("Б"), {}}, {QStringLiteral("В"), {}}});
    ASSERT_EQ(CurrentScheme->Name, QStringLiteral("Б"));
    Type(QStringLiteral("  "));
    Run([&] { form->SRenameSchemeItemClick(); });
    EXPECT_EQ(form->CurrSchemeComboBox->Text(), QStringLiteral("Б"));

    Type(QStringLiteral("в"));   // another scheme's name: that scheme is chosen, nothing renamed
    Run([&] { form->SRenameSchemeItemClick(); });
    EXPECT_EQ(CurrentScheme->Name, QStringLiteral("В"));
    EXPECT_EQ(SchemeNames(form->Schemes), (QStringList{QStringLiteral("Б"), QStringLiteral("В")}));
    EXPECT_FALSE(form->Modified);

    Type(QStringLiteral("Я"));
    Run([&] { form->SRenameSchemeItemClick(); });
    EXPECT_EQ(CurrentScheme->Name, QStringLiteral("Я"));
    EXPECT_EQ(ComboItems(), (QStringList{QStringLiteral("Б"), QStringLiteral("Я")}));
    EXPECT_EQ(form->CurrSchemeComboBox->ItemIndex(), 1);
    EXPECT_TRUE(form->Modified);
}

TEST_F(SchemeEditorTest, DeletingSchemesChoosesTheNextAndFinallyNone)
{
    OpenSchemes({{QStringLiteral("A"), {RowAt(1)}}, {QStringLiteral("B"), {RowAt(2)}}});
    Choose(1);
    ASSERT_EQ(CurrentScheme->Name, QStringLiteral("B"));
    Run([&] { form->SDeleteSchemeItemClick(); });   // the last item: the new last one
    ASSERT_NE(CurrentScheme, nullptr);
    EXPECT_EQ(CurrentScheme->Name, QStringLiteral("A"));
    EXPECT_EQ(form->Devices().size(), 1u);
    Run([&] { form->SDeleteSchemeItemClick(); });
    EXPECT_EQ(CurrentScheme, nullptr);
    EXPECT_TRUE(form->Schemes.empty());
    EXPECT_TRUE(form->Devices().empty());
    EXPECT_EQ(form->CurrSchemeComboBox->Text(), QString());
    for (const char* name : {"SRenameSchemeItem", "SDeleteSchemeItem", "SClearSchemeItem", "DAddDeviceItem"})
        EXPECT_FALSE(Action(name)->isEnabled()) << name;
    EXPECT_TRUE(form->Modified);
}

TEST_F(SchemeEditorTest, OpeningASchemeBuildsItsDevicesAndTheCatalogueOfTheRest)
{
    ASSERT_GE(FrameInfoVectors[4].size(), 2u);
    const int azimuth = RowAt(4, 0), sibling = RowAt(4, 1);
    OpenSchemes({{QStringLiteral("S"), {azimuth, RowAt(1)}}});
    ASSERT_EQ(form->Devices().size(), 2u);
    EXPECT_EQ(form->DevicesByAddr()[4], Device(0));
    EXPECT_EQ(form->DevicesListView->topLevelItemCount(), DeviceCatalogueCount - 2);
    EXPECT_EQ(CatalogueItemOf(azimuth), nullptr);
    // A row that shares its address with a scheme device stays listed, greyed, and cannot be added.
    QTreeWidgetItem* greyed = CatalogueItemOf(sibling);
    ASSERT_NE(greyed, nullptr);
    EXPECT_NE(greyed->foreground(0), QBrush());
    form->DevicesListView->setCurrentItem(greyed);
    EXPECT_FALSE(Action("DAddDeviceItem")->isEnabled());
    EXPECT_FALSE(form->AddDeviceButton->isEnabled());
    EXPECT_EQ(form->DescMemo->Text(), QString::fromUtf8(DeviceCatalogue[sibling].LongDescription));
    form->DevicesListViewDblClick();
    EXPECT_EQ(CurrentScheme->Objects.size(), 2u);
    EXPECT_EQ(form->StatusText(1), ReadyText);
    EXPECT_TRUE(Action("LBIMode1Item")->isEnabled());
}

TEST_F(SchemeEditorTest, TwoQuickChoicesOpenOnlyTheLast)
{
    OpenSchemes({{QStringLiteral("A"), {RowAt(1), RowAt(2)}}, {QStringLiteral("B"), {RowAt(3)}}, {QStringLiteral("C"), {RowAt(5)}}});
    form->CurrSchemeComboBox->SetItemIndex(1);
    form->CurrSchemeComboBoxSelect(form->CurrSchemeComboBox);
    EXPECT_EQ(form->StatusText(1), QStringLiteral(" Создание схемы…"));
    EXPECT_FALSE(Action("LBIMode2Item")->isEnabled());   // no line-mode change while devices are made
    form->CurrSchemeComboBox->SetItemIndex(2);
    form->CurrSchemeComboBoxSelect(form->CurrSchemeComboBox);
    ASSERT_TRUE(WaitOpened());
    ASSERT_NE(CurrentScheme, nullptr);
    EXPECT_EQ(CurrentScheme->Name, QStringLiteral("C"));
    ASSERT_EQ(form->Devices().size(), 1u);
    EXPECT_EQ(Device(0)->FrameInfo, &DeviceCatalogue[RowAt(5)]);
    EXPECT_TRUE(Action("LBIMode2Item")->isEnabled());
}

TEST_F(SchemeEditorTest, AddingAndRemovingDevices)
{
    OpenSchemes({{QStringLiteral("S"), {}}});
    const int rows[] = {RowAt(1), RowAt(2), RowAt(3)};
    LineMode = LineModeSensors;   // a new device gets mode 1 - line mode
    for (int row : rows) {
        form->DevicesListView->setCurrentItem(CatalogueItemOf(row));
        ASSERT_TRUE(Action("DAddDeviceItem")->isEnabled());
        Run([&] { form->DAddDeviceItemClick(); });
        EXPECT_EQ(CatalogueItemOf(row), nullptr);
    }
    ASSERT_EQ(CurrentScheme->Objects.size(), 3u);
    const TSchemeObject& first = *CurrentScheme->Objects[0];
    EXPECT_EQ(first.Name, QString::fromUtf8(DeviceCatalogue[rows[0]].Model) + QStringLiteral(" (01)"));
    EXPECT_EQ(first.Type, std::uint32_t(rows[0]));
    EXPECT_EQ(first.Mode, ModeReceive);
    EXPECT_EQ(form->DevicesByAddr()[DeviceCatalogue[rows[2]].Address], Device(2));
    EXPECT_TRUE(form->Modified);
    EXPECT_TRUE(Action("SClearSchemeItem")->isEnabled());

    // Removing the selected first device selects the last one and lists its row again.
    TDeviceInfo* last = Device(2);
    Select(Device(0));
    Run([&] { form->DDeleteDeviceItemClick(); });
    EXPECT_EQ(form->Devices().size(), 2u);
    EXPECT_EQ(form->CurrentDevice(), last);
    EXPECT_EQ(CurrentScheme->Objects.size(), 2u);
    EXPECT_EQ(form->DevicesByAddr()[1], nullptr);
    ASSERT_NE(CatalogueItemOf(rows[0]), nullptr);
    EXPECT_EQ(form->DevicesListView->currentItem(), CatalogueItemOf(rows[0]));

    Run([&] { form->SClearSchemeItemClick(); });
    EXPECT_TRUE(CurrentScheme->Objects.empty());
    EXPECT_TRUE(form->Devices().empty());
    EXPECT_EQ(form->CurrentDevice(), nullptr);
    EXPECT_FALSE(Action("SClearSchemeItem")->isEnabled());
}

TEST_F(SchemeEditorTest, SelectingADeviceShowsItsDetailsAndComment)
{
    OpenSchemes({{QStringLiteral("S"), {RowAt(1), RowAt(10)}}});
    FileComment = QStringLiteral("файл");
    TDeviceInfo* device = Device(1);
    Select(device);
    EXPECT_EQ(form->DeviceAddrInfo->Caption(), QStringLiteral("0x0A"));
    EXPECT_EQ(form->DeviceNameInfo->Caption(), QString::fromUtf8(device->FrameInfo->Model));
    ASSERT_TRUE(device->Frame);
    EXPECT_TRUE(device->Frame->isVisibleTo(form->SchemePanel()));
    EXPECT_TRUE(Action("DDeleteDeviceItem")->isEnabled());

    form->CommentMemo->SetText(QStringLiteral("датчик"));   // the editor's memo writes the device's comment
    EXPECT_EQ(device->SchemeObject->Comment, QStringLiteral("датчик"));
    EXPECT_TRUE(form->Modified);
    Select(nullptr);
    EXPECT_EQ(form->CommentMemo->Text(), QStringLiteral("файл"));
    EXPECT_EQ(form->DeviceAddrInfo->Caption(), QStringLiteral("-"));
    EXPECT_FALSE(device->Frame->isVisibleTo(form->SchemePanel()));
    form->CommentMemo->SetText(QStringLiteral("новый"));
    EXPECT_EQ(FileComment, QStringLiteral("новый"));
}

TEST_F(SchemeEditorTest, MovingADeviceSwapsItsObjectAndRow)
{
    OpenSchemes({{QStringLiteral("S"), {RowAt(1), RowAt(2), RowAt(3)}}});
    TDeviceInfo* moved = Device(2);
    form->SetGridCurrentRow(2);
    form->DeviceMoveButtonClick(form->DeviceMoveUpButton);
    EXPECT_EQ(CurrentScheme->Objects[1].get(), moved->SchemeObject);
    EXPECT_EQ(Device(1), moved);
    EXPECT_EQ(moved->GridCell(1), moved->SchemeObject->Name);
    form->DeviceMoveButtonClick(form->DeviceMoveDownButton);
    form->DeviceMoveButtonClick(form->DeviceMoveDownButton);   // already last: nothing
    EXPECT_EQ(CurrentScheme->Objects[2].get(), moved->SchemeObject);
    EXPECT_TRUE(form->Modified);
}

TEST_F(SchemeWindowTest, LineModeLeavesDisabledDevicesAndStopsWatchdogsForPolling)
{
    Open(WriteSchemeFile(QStringLiteral("m.mvs"), {{QStringLiteral("A"), {RowAt(1), RowAt(2)}}, {QStringLiteral("B"), {RowAt(3)}}}));
    TDeviceInfo* active = form->Devices().at(0).get();
    TDeviceInfo* disabled = form->Devices().at(1).get();
    disabled->SchemeObject->Mode = ModeDisabled;
    active->StartTimer();
    disabled->StartTimer();
    active->RequestText = disabled->RequestText = QStringLiteral("01 02");
    Run([&] { form->BIModeItemClick(Action("LBIMode2Item")); });
    EXPECT_EQ(LineMode.load(), LineModeSensors);
    EXPECT_TRUE(form->BIMode2Button->isChecked());
    EXPECT_FALSE(active->TimerActive());
    EXPECT_TRUE(active->RequestText.isEmpty());
    EXPECT_EQ(active->SchemeObject->Mode, ModeReceive);
    EXPECT_EQ(active->GridCell(0), QStringLiteral("00"));
    EXPECT_TRUE(disabled->TimerActive());
    EXPECT_EQ(disabled->RequestText, QStringLiteral("01 02"));
    EXPECT_EQ(disabled->SchemeObject->Mode, ModeDisabled);
    EXPECT_EQ(form->Schemes[1]->Objects[0]->Mode, ModeReceive);   // every scheme of the file
}

TEST_F(SchemeWindowTest, DeviceModeAndStaticFlag)
{
    Open(WriteSchemeFile(QStringLiteral("d.mvs"), {{QStringLiteral("A"), {RowAt(1)}}}));
    TDeviceInfo* device = form->Devices().at(0).get();
    form->SelectDevice(device);
    device->NextPollTick = 77;
    Run([&] { form->ModeItemClick(Action("DeviceMode1PopupItem")); });   // "Приём"
    EXPECT_EQ(device->SchemeObject->Mode, ModeReceive);
    EXPECT_EQ(device->NextPollTick, 0u);
    EXPECT_EQ(device->GridCell(0), QStringLiteral("00"));

    Run([&] { form->DeviceStaticPopupItemClick(); });
    EXPECT_EQ(device->SchemeObject->Static, 1);
    EXPECT_EQ(device->GridCell(0), QStringLiteral("01"));
    EXPECT_EQ(device->GridCell(8), QStringLiteral("-"));
    EXPECT_FALSE(device->TimerActive());
    Run([&] { form->DeviceStaticPopupItemClick(); });
    EXPECT_TRUE(device->TimerActive());   // watched again in "Диагностика БИ"
    EXPECT_EQ(device->GridCell(8), QString());

    device->AnswerCount = 5;
    Run([&] { form->ModeItemClick(Action("DeviceMode3PopupItem")); });   // "Отключен"
    EXPECT_EQ(device->SchemeObject->Mode, ModeDisabled);
    EXPECT_EQ(device->AnswerCount, 0);
    EXPECT_FALSE(device->TimerActive());
    EXPECT_EQ(device->GridCell(0), QStringLiteral("20"));
    EXPECT_EQ(form->StatusText(1), ReadyText);
}

TEST_F(SchemeWindowTest, WatchdogExpiryForgetsTheExchangesOfALiveDeviceOnly)
{
    Open(WriteSchemeFile(QStringLiteral("w.mvs"), {{QStringLiteral("A"), {RowAt(1)}}}));
    TDeviceInfo* device = form->Devices().at(0).get();
    form->SelectDevice(device);
    device->RequestText = QStringLiteral("AA");
    device->AnswerCount = 3;
    device->StartTimer();
    form->HexOutStrEdit()->SetText(QStringLiteral("AA"));
    form->WMTimer(device);
    EXPECT_TRUE(device->RequestText.isEmpty());
    EXPECT_EQ(device->AnswerCount, 0);
    EXPECT_FALSE(device->TimerActive());
    EXPECT_TRUE(form->HexOutStrEdit()->Text().isEmpty());

    // A late notice for a device of a scheme that was closed meanwhile is dropped.
    Run([&] { form->SelectScheme(nullptr); });
    form->WMTimer(device);
    EXPECT_TRUE(form->Devices().empty());
}

TEST_F(SchemeWindowTest, CtrlAltKSwitchesTheSchemeEditor)
{
    struct { const char* name; bool editor; } const shown[] = {
        {"DevicePanel", true}, {"DescPanel", true}, {"LineDataPanel", false}, {"InfoPanel", false}};
    for (int pass = 0; pass < 2; ++pass) {
        const bool on = pass == 0;
        int key = Qt::Key_K;
        form->FormKeyDown(form.get(), key, Qt::ControlModifier | Qt::AltModifier);
        EXPECT_EQ(key, 0);
        EXPECT_EQ(ConstructorMode, on ? 1 : 0);
        EXPECT_EQ(Action("FCreateFileItem")->isVisible(), on);
        EXPECT_EQ(form->findChild<QMenu*>(QStringLiteral("SchemeMenu"))->menuAction()->isVisible(), on);
        EXPECT_EQ(form->CommentMemo->ReadOnly(), !on);
        for (const auto& s : shown)
            EXPECT_EQ(AsControl(form->findChild<QWidget*>(QLatin1String(s.name)))->Visible(), s.editor == on) << s.name;
    }
    int other = Qt::Key_K;
    form->FormKeyDown(form.get(), other, Qt::ControlModifier);
    EXPECT_EQ(other, int(Qt::Key_K));
}

TEST_F(SchemeEditorTest, CatalogueSortColumnMarksItsCaption)
{
    OpenSchemes({{QStringLiteral("S"), {}}});
    form->SetDevicesSortColumn(2);
    EXPECT_EQ(form->DevicesListView->headerItem()->text(2), QStringLiteral("А *"));
    EXPECT_EQ(form->DevicesListView->headerItem()->text(0), QStringLiteral("Название"));
    QStringList addresses;
    for (int i = 0; i < form->DevicesListView->topLevelItemCount(); ++i)
        addresses << form->DevicesListView->topLevelItem(i)->text(2);
    QStringList sorted = addresses;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(addresses, sorted);
}
