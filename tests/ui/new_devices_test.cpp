// The end of a device search: which heard rows the dialog offers, when it stays silent, and
// what a confirmation adds to the scheme.
#include <QPushButton>
#include <QTreeWidget>

#include "SchemeFixture.h"
#include "support/VirtualClock.h"
#include "ui/NewDevices.h"

namespace {

// Every catalogue row unheard for the scope, so that only what a test marks counts.
class QuietCatalogue {
public:
    QuietCatalogue()
    {
        for (int r = 0; r < DeviceCatalogueCount; ++r) {
            saved_[r] = DeviceCatalogue[r].LastSeenTick;
            DeviceCatalogue[r].LastSeenTick = 0;
        }
    }
    ~QuietCatalogue()
    {
        for (int r = 0; r < DeviceCatalogueCount; ++r)
            DeviceCatalogue[r].LastSeenTick = saved_[r];
    }

private:
    std::uint32_t saved_[DeviceCatalogueCount];
};

} // namespace

class NewDevicesTest : public SchemeTest {
protected:
    void SetUp() override
    {
        SchemeTest::SetUp();
        SetNewDevicesDialogHook([this](TNewDevicesForm& dialog) {
            ++shown;
            offered = dialog.CheckedRows();
            okEnabled = dialog.OKButton->isEnabled();
            return answer;
        });
        SetMessageBoxHook([this](const QString& text, const QString& caption, TButtons, TBoxIcon) {
            messages << caption + QLatin1Char(':') + text;
            return TAnswer::Ok;
        });
    }
    void TearDown() override
    {
        SetNewDevicesDialogHook({});
        SearchByUser = 0;
        SchemeTest::TearDown();
    }
    int shown = 0;
    std::vector<int> offered;
    bool okEnabled = false;
    int answer = QDialog::Rejected;
    QStringList messages;
    VirtualClock clock{500000};
    ScopedTicks ticks{clock};
    QuietCatalogue quiet;
};

TEST_F(NewDevicesTest, OnlyRowsHeardLatelyAtFreeAddressesAreOffered)
{
    TDeviceInfo* present = AddDevice(rows[0], ModeEmulate);
    const std::uint32_t now = clock.Now();
    DeviceCatalogue[rows[1]].LastSeenTick = now - 2999;
    EXPECT_EQ(HeardNewRows(form->DevicesByAddr(), now), std::vector<int>{rows[1]});
    DeviceCatalogue[rows[1]].LastSeenTick = now - 3000;
    EXPECT_TRUE(HeardNewRows(form->DevicesByAddr(), now).empty());
    // Heard, but its address is taken (also by another row of that address).
    DeviceCatalogue[rows[0]].LastSeenTick = now - 10;
    for (TFrameInfo* sibling : FrameInfoVectors[present->FrameInfo->Address])
        sibling->LastSeenTick = now - 10;
    EXPECT_TRUE(HeardNewRows(form->DevicesByAddr(), now).empty());
    // Across the wrap of the tick count.
    DeviceCatalogue[rows[1]].LastSeenTick = 0xFFFFFF00u;
    EXPECT_EQ(HeardNewRows(form->DevicesByAddr(), 0x00000100u), std::vector<int>{rows[1]});
}

TEST_F(NewDevicesTest, AutomaticSearchStaysSilentUnlessTheSchemeIsEmpty)
{
    AddDevice(rows[0], ModeEmulate);
    DeviceCatalogue[rows[1]].LastSeenTick = clock.Now() - 100;
    SearchByUser = 0;
    form->ShowNewDevices();
    EXPECT_EQ(shown, 0);
    // Nothing heard: only a search the user started says so.
    DeviceCatalogue[rows[1]].LastSeenTick = 0;
    form->ShowNewDevices();
    EXPECT_TRUE(messages.isEmpty());
    SearchByUser = 1;
    form->ShowNewDevices();
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(messages, QStringList{QStringLiteral("Информация:Новые датчики не найдены")});
    // No scheme shown (one is being opened): nothing.
    CurrentScheme = nullptr;
    form->ShowNewDevices();
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(NewDevicesTest, ConfirmedRowsJoinTheScheme)
{
    DeviceCatalogue[rows[0]].LastSeenTick = clock.Now() - 100;
    DeviceCatalogue[rows[1]].LastSeenTick = clock.Now() - 200;
    SearchByUser = 0;   // an empty new scheme is offered what was heard
    form->ShowNewDevices();
    ASSERT_EQ(shown, 1);
    EXPECT_EQ(offered.size(), 2u);
    EXPECT_TRUE(okEnabled);
    EXPECT_TRUE(CurrentScheme->Objects.empty());   // Cancel adds nothing

    answer = QDialog::Accepted;
    form->ShowNewDevices();
    ASSERT_EQ(CurrentScheme->Objects.size(), 2u);
    ASSERT_EQ(form->Devices().size(), 2u);
    for (int row : rows)
        EXPECT_NE(form->DevicesByAddr()[DeviceCatalogue[row].Address], nullptr);
    EXPECT_EQ(form->SchemeGrid->rowCount(), 2);
}

TEST(NewDevicesForm, SortCaptionsAndOneRowPerAddress)
{
    TNewDevicesForm dialog;
    EXPECT_EQ(dialog.SortColumn, -1);
    // Two rows of one address cannot both be added.
    int a = 0, b = -1;
    for (int r = 1; r < DeviceCatalogueCount && b < 0; ++r)
        if (DeviceCatalogue[r].Address == DeviceCatalogue[a].Address)
            b = r;
    if (b < 0) {
        a = FrameInfoVectors[4][0] - DeviceCatalogue;
        b = FrameInfoVectors[4][1] - DeviceCatalogue;
    }
    dialog.AddRow(a);
    dialog.AddRow(b);
    EXPECT_FALSE(dialog.OKButton->isEnabled());
    dialog.DevicesListView->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    EXPECT_TRUE(dialog.OKButton->isEnabled());
    dialog.DevicesListView->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    EXPECT_FALSE(dialog.OKButton->isEnabled());

    dialog.SetSortColumn(2);
    EXPECT_EQ(dialog.DevicesListView->headerItem()->text(2), QStringLiteral("А *"));
    EXPECT_EQ(dialog.DevicesListView->headerItem()->text(0), QStringLiteral("Название"));
}
