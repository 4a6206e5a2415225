// The line monitor: hex texts read back, the decoding lines of a record, recording on and off,
// and the search for runs of failed exchanges.
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QTableView>
#include <QTest>

#include "WindowFixture.h"
#include "line/LineLog.h"
#include "platform/Ticks.h"
#include "support/TextCanvas.h"
#include "ui/LineList.h"
#include "ui/LineMonitor.h"

TEST(LineMonitorRules, HexTextsRecordTimesAndErrorRuns)
{
    // clang-format off
    struct { const char* text; int count; bool whole; std::uint8_t first; } const hex[] = {
        {"81 12 '93", 3, true, 0x81}, {"", 0, true, 0}, {"8G 12", 0, false, 0}, {"12 3", 1, false, 0x12},
        {"00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 FF", 16, false, 0},   // no more than fits
    };
    // clang-format on
    for (const auto& c : hex) {
        std::uint8_t bytes[16] = {};
        int count = -1;
        EXPECT_EQ(ParseHexText(QString::fromUtf8(c.text), bytes, count), c.whole) << c.text;
        EXPECT_EQ(count, c.count) << c.text;
        EXPECT_EQ(bytes[0], c.first) << c.text;
    }
    EXPECT_EQ(FormatRecordTime(45000.0 + (9 * 3600 + 5 * 60 + 7.042) / 86400.0), QStringLiteral("[ 9:05:07.042 ]"));

    // 0 1 2 3 4 5 6 7 8 9: errors at 1-2 and 5-7; the search steps from run start to run start.
    const std::vector<bool> errors{false, true, true, false, false, true, true, true, false, false};
    const auto counts = [&errors](int i) { return bool(errors[std::size_t(i)]); };
    // clang-format off
    struct { int selected, previous, next; } const runs[] = {
        {-1, 5, 1}, {9, 5, -1}, {6, 5, -1}, {5, 1, -1}, {1, -1, 5}, {2, 1, 5}, {0, -1, 1},
    };
    // clang-format on
    for (const auto& c : runs) {
        EXPECT_EQ(FindPreviousErrorRun(int(errors.size()), c.selected, counts), c.previous) << c.selected;
        EXPECT_EQ(FindNextErrorRun(int(errors.size()), c.selected, counts), c.next) << c.selected;
    }
    const auto first = [](int i) { return i == 0; };   // a first record that is an error is reached
    EXPECT_EQ(FindPreviousErrorRun(3, 2, first), 0);
    EXPECT_EQ(FindNextErrorRun(0, -1, first), -1);
}

// A record's time comes from a cached zone offset; it must read as the local clock does, also
// after the zone changes.
TEST(LineLogTime, RecordTimesReadAsTheLocalClockInAnyZone)
{
    const QByteArray saved = qgetenv("TZ");
    const bool wasSet = qEnvironmentVariableIsSet("TZ");
    for (const char* zone : {"UTC-3", "UTC+5", "Europe/Moscow"}) {
        qputenv("TZ", zone);
        const double cached = LocalDaysNow();
        const double clock = DateTimeToDays(QDateTime::currentDateTime());
        EXPECT_NEAR(cached, clock, 2.0 / 86400) << zone;   // the same instant, give or take a tick
    }
    if (wasSet)
        qputenv("TZ", saved);
    else
        qunsetenv("TZ");
}

// Fed far faster than the screen, the list keeps the newest record selected and in view, shows
// the log's records in order even after the oldest ones were dropped, and rewrites the
// decoding panel once per catch-up, not once per record.
TEST_F(SchemeTest, LineMonitorFollowsTheNewestRecordAtTheScreensPace)
{
    form->show();
    form->RightPanelButtonClick(form->ShowRightButton);   // the monitor on screen
    LineLogClear();
    form->SetLineListCount(0);
    int rewrites = 0;
    QObject::connect(form->InfoMemo, &QPlainTextEdit::textChanged, form.get(), [&rewrites] { ++rewrites; });
    const TFrameInfo* own = &DeviceCatalogue[rows[0]];
    const int total = LineLogCapacity + 50;
    for (int i = 0; i < total; ++i)
        AppendLineLog(*form, own, 0, QString::number(i), QStringLiteral("01 00"), true, GetTickCount());
    EXPECT_EQ(form->LineListItemIndex(), LineLogCapacity - 1);   // read back before it is shown
    QTableView* list = form->LineDataListBox;
    ASSERT_GT(list->viewport()->height(), LineListItemHeightPx);
    ASSERT_TRUE(RunEventsUntil([list] { return list->currentIndex().row() == LineLogCapacity - 1; }));
    RunEventsFor(50);
    EXPECT_EQ(list->model()->rowCount(), LineLogCapacity);
    EXPECT_EQ(rewrites, 1);
    EXPECT_EQ(form->InfoMemo->Lines(), LineRecordInfo(LineLogRecord(LineLogCount - 1), form->DevicesByAddr()));
    EXPECT_TRUE(list->viewport()->rect().intersects(list->visualRect(list->currentIndex())));
    const auto* model = static_cast<const TLineListModel*>(list->model());
    for (int row : {0, LineLogCapacity - 1})
        EXPECT_EQ(LineLogRecord(model->RecordOf(row)).RequestText, QString::number(total - LineLogCapacity + row));

    // One more record: the list moves on by one, the panel shows it.
    AppendLineLog(*form, own, 4, QStringLiteral("81"), QString(), false, GetTickCount());
    ASSERT_TRUE(RunEventsUntil([&rewrites] { return rewrites == 2; }));
    EXPECT_EQ(LineLogRecord(model->RecordOf(list->currentIndex().row())).RequestText, QStringLiteral("81"));
    EXPECT_EQ(form->InfoMemo->Lines().value(form->InfoMemo->Lines().size() - 1), QStringLiteral("Нет ответа"));
    LineLogClear();
}

// The list repaints only what a change moved or added: rows added below the view, rows added in
// view, the oldest dropped for new ones while the newest is followed, and a look back at older
// rows; following the newest at every record (no devices), or once two have gathered below the
// view (two devices). What the window shows is each time what a whole repaint shows, scroll bar
// included.
TEST_F(SchemeTest, LineMonitorShowsWhatAWholeRepaintShows)
{
    form->resize(900, 600);
    form->show();
    form->RightPanelButtonClick(form->ShowRightButton);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTableView* list = form->LineDataListBox;
    const TFrameInfo* own = &DeviceCatalogue[rows[0]];
    int n = 0;
    const auto append = [&](int count) {
        for (int i = 0; i < count; ++i, ++n)
            AppendLineLog(*form, n % 7 ? own : nullptr, n % 5 ? 0 : 4, QString::number(n), QString::number(n * 3, 16),
                          n % 5 != 0, GetTickCount());
    };
    const auto grab = [&] {
        const QPoint at = list->mapTo(form.get(), QPoint(0, 0));
        return form->screen()->grabWindow(form->winId(), at.x(), at.y(), list->width(), list->height()).toImage();
    };
    // What the window shows once the catch-up and the repaints it asks for are over.
    const auto onScreen = [&] {
        QImage shown = grab(), before;
        for (int i = 0; i < 50 && shown != before; ++i) {
            RunEventsFor(40);
            before = std::exchange(shown, grab());
        }
        return shown;
    };
    const auto whole = [&] { return list->grab().toImage(); };
    // clang-format off
    const struct { const char* step; int records; int look; } steps[] = {
        {"a few", 3, -1}, {"a screenful more", 40, -1}, {"one below the view", 1, -1}, {"one more", 1, -1},
        {"many", 500, -1}, {"the log full", LineLogCapacity, -1}, {"dropped for new ones", 3, -1}, {"again", 70, -1},
        {"an older row looked at", 0, 100}, {"more while looking back", 5, -1}, {"the newest looked at", 0, LineLogCapacity - 1},
        {"one dropped", 1, -1},
    };
    // clang-format on
    for (const int devices : {0, 2}) {
        if (devices > 0) {
            AddDevice(rows[0], ModeReceive);
            AddDevice(rows[1], ModeReceive);
        }
        LineLogClear();
        form->SetLineListCount(0);
        for (const auto& step : steps) {
            append(step.records);
            if (step.look >= 0)
                form->SetLineListItemIndex(step.look);
            const QImage shown = onScreen();   // first: the whole repaint below is of the state shown
            EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), whole().convertToFormat(QImage::Format_RGB32))
                << step.step << ", " << devices << " devices";
        }
    }
    LineLogClear();
}

// A request too long for its column is cut short of the answer column, with a blank between:
// whatever the column's width, no ink in the last pixels before the answer, and the text drawn
// ends in "…" within the column. A request that fits is drawn whole.
TEST_F(SchemeTest, LineMonitorCutsALongRequestShortOfTheAnswer)
{
    LineLogClear();
    const QString request = QStringLiteral("'EF 00 00 00 00 00 00 00 00 00 00 00 00 00 00 2F");
    LineLogAdd(&DeviceCatalogue[rows[0]], 0, request, QStringLiteral("DD 20 DC 0E"));
    LineLogAdd(&DeviceCatalogue[rows[0]], 0, QStringLiteral("'3E"), QStringLiteral("DD 20 DC 0E"));
    QImage image(200, LineListItemHeightPx, QImage::Format_RGB32);
    const auto ink = [&image](int from, int to) {
        int dark = 0;
        for (int x = from; x < to; ++x)
            for (int y = 0; y < image.height(); ++y)
                dark += qGray(image.pixel(x, y)) < 128;
        return dark;
    };
    const QFont font = form->LineDataListBox->font();
    for (int split = 50; split < 80; ++split) {
        form->LineDataHeader->resizeSection(0, split);
        image.fill(Qt::white);
        QPainter canvas(&image);
        canvas.setFont(font);
        canvas.setBrush(Qt::white);
        canvas.setPen(Qt::black);
        form->LineDataListBoxDrawItem(canvas, 0, image.rect());
        canvas.end();
        EXPECT_GT(ink(0, split - 4), 0) << split;           // the request
        EXPECT_EQ(ink(split - 4, split), 0) << split;       // the blank before the answer
        EXPECT_GT(ink(split, image.width()), 0) << split;   // the answer

        for (const int record : {0, 1}) {
            TTextCanvas texts(image.size());
            QPainter recorder(&texts);
            recorder.setFont(font);
            form->LineDataListBoxDrawItem(recorder, record, image.rect());
            recorder.end();
            ASSERT_EQ(texts.Texts().size(), 2) << split;
            const QString drawn = texts.Texts().first();
            if (record == 1) {
                EXPECT_EQ(drawn, QStringLiteral("'3E")) << split;
                continue;
            }
            ASSERT_TRUE(drawn.endsWith(QChar(0x2026))) << split << " " << drawn.toStdString();
            EXPECT_TRUE(request.startsWith(drawn.chopped(1))) << drawn.toStdString();
            EXPECT_LE(QFontMetrics(font, &texts).horizontalAdvance(drawn), split - 1 - 4) << split;
        }
    }
    LineLogClear();
}

// The list follows the newest record only once as many records as there are devices due have
// gathered below the visible lines, also while its catch-up with the log is still to come; and
// a record the user clicks meanwhile stays selected and decoded.
namespace {
// The monitor shown in sensor diagnostics with two devices due (two records below the view move
// it), its log holding `count` records of the first device's row, but record `foreign` of none.
class MonitorOfTwoDevices : public SchemeTest {
protected:
    const TFrameInfo* ShowWithRecords(int count, int foreign = -1)
    {
        LineMode = LineModeSensors;
        AddDevice(rows[0], ModeReceive);
        AddDevice(rows[1], ModeReceive);
        form->show();
        form->RightPanelButtonClick(form->ShowRightButton);
        LineLogClear();
        const TFrameInfo* own = &DeviceCatalogue[rows[0]];
        for (int i = 0; i < count; ++i)
            LineLogAdd(i == foreign ? nullptr : own, 0, QString::number(i), QStringLiteral("01 00"));
        form->SetLineListCount(LineLogCount);
        return own;
    }
};
}   // namespace

TEST_F(MonitorOfTwoDevices, LineMonitorKeepsTheUsersClickOverAPendingCatchUp)
{
    const TFrameInfo* own = ShowWithRecords(100, 95);
    form->SetLineListItemIndex(99);
    QTableView* list = form->LineDataListBox;
    RunEventsFor(50);
    ASSERT_GT(list->viewport()->height() / LineListItemHeightPx, 6);
    const auto append = [&] { AppendLineLog(*form, own, 0, QStringLiteral("81"), QStringLiteral("01 00"), true, GetTickCount()); };
    const auto selected = [list] { return list->currentIndex().row(); };

    // One below: stays; two below: the newest (101); one below the new view: stays on 101.
    for (int i = 0; i < 3; ++i)
        append();
    RunEventsFor(50);
    EXPECT_EQ(selected(), 101);

    append();   // two below again: the newest is to be selected at the next catch-up
    const QModelIndex clicked = list->model()->index(95, 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(clicked).center());
    EXPECT_EQ(form->InfoMemo->Lines().value(1), QStringLiteral("Данные не определены"));
    RunEventsFor(50);
    EXPECT_EQ(selected(), 95);
    EXPECT_EQ(form->InfoMemo->Lines().value(1), QStringLiteral("Данные не определены"));
    append();   // three below the view now: the newest again
    RunEventsFor(50);
    EXPECT_EQ(selected(), 104);
    LineLogClear();
}

// A full log drops its oldest record for each new one: a record the user clicks before the list
// has caught up with a drop stays selected once it has.
TEST_F(MonitorOfTwoDevices, LineMonitorKeepsAClickedRecordWhileAFullLogDropsItsOldest)
{
    const TFrameInfo* own = ShowWithRecords(LineLogCapacity);   // one record below the view leaves it
    form->SetLineListItemIndex(LineLogCount - 1);
    QTableView* list = form->LineDataListBox;
    const auto* model = static_cast<const TLineListModel*>(list->model());
    RunEventsFor(50);
    AppendLineLog(*form, own, 0, QStringLiteral("81"), QStringLiteral("01 00"), true, GetTickCount());
    const QModelIndex clicked = model->index(model->rowCount() - 3, 0);
    const QString text = LineLogRecord(model->RecordOf(clicked.row())).RequestText;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(clicked).center());
    RunEventsFor(50);
    EXPECT_EQ(LineLogRecord(model->RecordOf(list->currentIndex().row())).RequestText.toStdString(), text.toStdString());
    LineLogClear();
}

TEST_F(SchemeTest, LineMonitorDecodesRecordsRecordsAndFindsOwnErrors)
{
    LineLogClear();
    const auto add = [this](const TFrameInfo* row, int result, const char* request, const char* answer) {
        LineLogAdd(row, result, QString::fromUtf8(request), QString::fromUtf8(answer));
        form->SetLineListCount(LineLogCount);
    };
    const auto show = [this](int index) {
        form->SetLineListItemIndex(index);
        form->ShowLineRecordInfo();
        return form->InfoMemo->Lines();
    };
    const TFrameInfo* own = &DeviceCatalogue[rows[0]];
    const TFrameInfo* other = &DeviceCatalogue[rows[1]];
    TDeviceInfo* device = AddDevice(rows[0], ModeEmulate, QStringLiteral("Стрела"));
    add(nullptr, 4, "81", "");
    add(other, 0, "82", "02 00");
    add(own, 4, "'81", "01 00");
    EXPECT_EQ(show(0).value(1), QStringLiteral("Данные не определены"));
    EXPECT_TRUE(show(1).value(1).endsWith(QStringLiteral(" (") + QString::fromUtf8(other->Model) + QLatin1Char(')')));
    EXPECT_EQ(show(1).value(2), QStringLiteral("Нет в схеме"));
    EXPECT_EQ(show(2).value(2), QStringLiteral("Название: Стрела"));   // a failure's result: the catch-up test
    EXPECT_TRUE(show(-1).isEmpty());

    form->ClearDataCheckBox->SetChecked(true);
    form->LineDataStartButton->click();
    EXPECT_TRUE(form->LineLogOn());
    EXPECT_FALSE(form->FindErrorsNextButton->isEnabled());
    EXPECT_EQ(LineLogCount, 0);
    form->LineDataStopButton->click();
    EXPECT_TRUE(!form->LineLogOn() && form->FindErrorsPrevButton->isEnabled());

    // With a device selected, other devices' failures are skipped.
    add(other, 4, "82", "");
    add(own, 0, "81", "01 00");
    add(own, 3, "81", "01");
    form->SelectDevice(device);
    form->SetLineListItemIndex(-1);
    form->FindErrorsButtonClick(form->FindErrorsNextButton);
    EXPECT_EQ(form->LineListItemIndex(), 2);
    form->FindErrorsButtonClick(form->FindErrorsPrevButton);
    EXPECT_EQ(form->LineListItemIndex(), 2);   // no earlier run of its own
    LineLogClear();
}
