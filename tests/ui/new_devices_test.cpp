// The end of a device search: which heard rows the dialog offers, when it stays silent, and
// what a confirmation adds to the scheme.
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>

#include "WindowFixture.h"
#include "support/LineSimulator.h"
#include "support/ScriptedPort.h"
#include "support/VirtualClock.h"
#include "ui/NewDevices.h"

class NewDevicesTest : public SchemeTest {
protected:
    void SetUp() override
    {
        SchemeTest::SetUp();
        // Every catalogue row unheard, so that only what a test marks counts.
        for (int r = 0; r < DeviceCatalogueCount; ++r)
            DeviceCatalogue[r].LastSeenTick = 0;
        SetNewDevicesDialogHook([this](TNewDevicesForm& dialog) {
            ++shown;
            offered = dialog.CheckedRows();
            return answer;
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
    int answer = QDialog::Rejected;
    VirtualClock clock{500000};
    ScopedTicks ticks{clock};
};

TEST_F(NewDevicesTest, RowsHeardLatelyAtFreeAddressesAreOfferedToAnEmptySchemeOrAUsersSearch)
{
    DeviceCatalogue[rows[0]].LastSeenTick = clock.Now() - 100;
    DeviceCatalogue[rows[1]].LastSeenTick = clock.Now() - 200;
    form->ShowNewDevices();
    ASSERT_EQ(shown, 1);
    EXPECT_EQ(offered.size(), 2u);
    EXPECT_TRUE(CurrentScheme->Objects.empty());   // Cancel adds nothing
    answer = QDialog::Accepted;
    // Taken in either line mode, they get the mode a device added there gets: the program answers
    // for them in "Диагностика БИ" and polls them in "Диагностика датчиков".
    for (const auto& [lineMode, mode] : {std::pair{LineModeSensors, ModeReceive}, {LineModeMaster, ModeEmulate}}) {
        Run([&] { form->SClearSchemeItemClick(); });
        LineMode = lineMode;
        form->ShowNewDevices();
        ASSERT_EQ(form->Devices().size(), 2u);
        for (int row : rows) {
            const TDeviceInfo* device = form->DevicesByAddr()[DeviceCatalogue[row].Address];
            ASSERT_NE(device, nullptr);
            EXPECT_EQ(device->SchemeObject->Mode, mode) << "line mode " << lineMode;
        }
    }

    DeviceCatalogue[RowAt(3)].LastSeenTick = clock.Now() - 100;
    form->ShowNewDevices();   // the scheme has devices: an automatic search stays silent
    EXPECT_EQ(shown, 3);
    DeviceCatalogue[RowAt(3)].LastSeenTick = 0;
    form->ShowNewDevices();   // nothing heard
    EXPECT_TRUE(Messages.isEmpty());
    SearchByUser = 1;
    form->ShowNewDevices();
    EXPECT_EQ(Messages, QStringList{QStringLiteral("Информация|Новые датчики не найдены")});
    CurrentScheme = nullptr;   // no scheme shown (one is being opened): nothing
    form->ShowNewDevices();
    EXPECT_EQ(Messages.size(), 1);

    // Only rows heard within 3 s at free addresses count, also across the tick count's wrap.
    const std::uint32_t now = clock.Now();
    const auto heard = [this](std::uint32_t at) { return HeardNewRows(form->DevicesByAddr(), at); };
    const int spare = RowAt(3);
    DeviceCatalogue[spare].LastSeenTick = now - 2999;
    EXPECT_EQ(heard(now), std::vector<int>{spare});
    DeviceCatalogue[spare].LastSeenTick = now - 3000;
    EXPECT_TRUE(heard(now).empty());
    for (TFrameInfo* sibling : FrameInfoVectors[DeviceCatalogue[rows[0]].Address])   // a taken address's other rows
        sibling->LastSeenTick = now - 10;
    EXPECT_TRUE(heard(now).empty());
    DeviceCatalogue[spare].LastSeenTick = 0xFFFFFF00u;
    EXPECT_EQ(heard(0x00000100u), std::vector<int>{spare});

    // In sensor diagnostics every row heard since the search started counts, however long ago.
    EXPECT_EQ(HeardNewRows(form->DevicesByAddr(), now, now - 20000), std::vector<int>{});
    DeviceCatalogue[spare].LastSeenTick = now - 9000;
    EXPECT_EQ(HeardNewRows(form->DevicesByAddr(), now, now - 10000), std::vector<int>{spare});
    EXPECT_TRUE(HeardNewRows(form->DevicesByAddr(), now, now - 8000).empty());
}

// A new scheme in sensor diagnostics, on a line of 17 devices, some at addresses shared with
// catalogue rows of other lengths: the search polls every catalogue row, which takes longer
// than 3 s, and the dialog offers each device that answered.
TEST_F(MainWindowTest, SearchOverTheLineOffersEveryDeviceThatAnswers)
{
    LineSimulator line;
    ASSERT_TRUE(line.Ok());
    // Among them the I/O blocks at 50 and 51, whose gear-block rows at the same addresses come
    // first and answer one byte longer, and the engine block at 52, the first row polled.
    std::vector<int> rows{0, 3, 4, 5, 7, 13, 14, 15, 16, 20, 25, 30, 39, 53, 60, 63, 64};
    std::vector<BusDevice> bus;
    bus.reserve(rows.size());
    for (int row : rows)
        bus.push_back({row, Bytes(std::size_t(DeviceCatalogue[row].AnswerLength - 2), 0x01)});
    line.SetDevices(bus, LineByteTimeUs);
    line.SetEcho(LineSimulator::Echo::Dropped);   // the devices echo, paced as the line is
    SetReceiveThreadFactory({});
    WriteIni(QByteArray("[SETUP]\nPort=1,0,") + line.PortName().toUtf8() + ",2\nMode=1\n");
    SetStartArguments(QStringList{QStringLiteral("/c")});
    std::vector<int> offered;
    SetNewDevicesDialogHook([&offered](TNewDevicesForm& dialog) {
        offered = dialog.CheckedRows();
        return int(QDialog::Rejected);
    });
    StartUp();
    ASSERT_TRUE(RunEventsUntil([this, &line] { return form->StatusText(2) == "8" + line.PortName(); }));
    Run([this] { form->SCreateSchemeItemClick(); });
    EXPECT_TRUE(RunEventsUntil([&offered] { return !offered.empty(); }, 20000));
    SetNewDevicesDialogHook({});
    std::sort(offered.begin(), offered.end());
    EXPECT_EQ(offered, rows);
    DefaultAnswer = TAnswer::No;   // the new scheme is not saved on closing
}

// A device at a shared address that is not in the scheme, IoBlock-1/2 (row 4: address 50, wire
// 72, answer 6 bytes, where Gear-1, row 1, answers 7), is heard by the row of its lengths and
// offered by a search in both line modes: listening to a master, and polling every free row.
TEST_F(NewDevicesTest, ADeviceAtASharedAddressIsOfferedInBothLineModes)
{
    const Bytes answer = Answer(4, {0x01, 0x02, 0x03, 0x04});
    for (const int mode : {LineModeMaster, LineModeSensors}) {
        SCOPED_TRACE(mode);
        LineMode = mode;
        DeviceCatalogue[4].LastSeenTick = 0;
        ScriptedPort line(clock);
        SlowSynchronizer direct(clock, [] { return 0u; });
        TReceiveThread thread(*form, clock, direct);
        line.Bind(thread.Port);
        thread.Port.Open();
        thread.Engine.PortOpened();
        thread.ConnectTick = clock.Now();
        if (mode == LineModeMaster)
            for (std::uint32_t at = 100; at < MasterSearchMs + 500; at += 150)
                line.PlayAfter(at, Join(Request(4), answer));
        else
            line.OnWrite = [&line, &answer](const ScriptedPort::Call& write) {
                if (write.Bytes == Bytes{DeviceCatalogue[4].WireAddress})
                    line.PlayAt(write.Tick + 4, answer);   // after the echo
            };
        SearchByUser = 1;
        form->SearchStartTick = clock.Now();
        thread.StartSearch();
        for (int pass = 0; thread.Searching && pass < 1000; ++pass)
            thread.ReceivePass();
        offered.clear();
        const int before = shown;
        EXPECT_TRUE(RunEventsUntil([&] { return shown > before; }));
        EXPECT_EQ(offered, std::vector<int>{4});
    }
}

TEST(NewDevicesForm, OneRowPerAddress)
{
    TNewDevicesForm dialog;
    ASSERT_GE(FrameInfoVectors[4].size(), 2u);
    dialog.AddRow(int(FrameInfoVectors[4][0] - DeviceCatalogue));
    dialog.AddRow(int(FrameInfoVectors[4][1] - DeviceCatalogue));
    EXPECT_FALSE(dialog.OKButton->isEnabled());   // two rows of one address cannot both be added
    dialog.DevicesListView->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    EXPECT_TRUE(dialog.OKButton->isEnabled());
    dialog.DevicesListView->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    EXPECT_FALSE(dialog.OKButton->isEnabled());
}

// Every row and caption reads whole in the dialog as it opens, without scrolling sideways.
TEST(NewDevicesForm, EveryRowReadsWhole)
{
    TNewDevicesForm dialog;
    for (int row = 0; row < DeviceCatalogueCount; ++row)
        dialog.AddRow(row);
    dialog.SetSortColumn(1);
    dialog.show();
    RunEventsFor(30);
    const QTreeWidget* list = dialog.DevicesListView;
    const QHeaderView* header = list->header();
    const int box = list->style()->pixelMetric(QStyle::PM_IndicatorWidth);
    for (int column = 0; column < 3; ++column) {
        EXPECT_GE(header->sectionSize(column), header->fontMetrics().horizontalAdvance(list->headerItem()->text(column)));
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QString text = list->topLevelItem(i)->text(column);
            const QRect cell = list->visualRect(list->model()->index(i, column));
            EXPECT_GE(cell.width(), list->fontMetrics().horizontalAdvance(text) + (column == 0 ? box : 0)) << qPrintable(text);
            EXPECT_LE(cell.left() + list->fontMetrics().horizontalAdvance(text), list->viewport()->width()) << qPrintable(text);
        }
    }
}
