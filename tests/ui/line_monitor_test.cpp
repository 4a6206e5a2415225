// The line monitor: hex texts read back, the decoding lines of a record, recording on and off,
// and the search for runs of failed exchanges.
#include <QToolButton>

#include "SchemeFixture.h"
#include "line/LineLog.h"
#include "ui/LineMonitor.h"

TEST(LineMonitorRules, HexTextsParseUpToTheFirstBadPair)
{
    struct Case { const char* text; int count; bool whole; std::uint8_t first; };
    const Case cases[] = {
        {"81 12 '93", 3, true, 0x81}, {"'0A", 1, true, 0x0A}, {"", 0, true, 0},
        {"8G 12", 0, false, 0}, {"12 ab", 1, false, 0x12}, {"12 3", 1, false, 0x12},
        {"00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 FF", 16, false, 0},
    };
    for (const Case& c : cases) {
        std::uint8_t bytes[16] = {};
        int count = -1;
        EXPECT_EQ(ParseHexText(QString::fromUtf8(c.text), bytes, count), c.whole) << c.text;
        EXPECT_EQ(count, c.count) << c.text;
        EXPECT_EQ(bytes[0], c.first) << c.text;
    }
    EXPECT_EQ(FormatRecordTime(45000.0 + (9 * 3600 + 5 * 60 + 7.042) / 86400.0), QStringLiteral("[ 9:05:07.042 ]"));
}

TEST(LineMonitorRules, ErrorSearchStepsFromRunStartToRunStart)
{
    // 0 1 2 3 4 5 6 7 8 9: errors at 1-2 and 5-7
    const std::vector<bool> errors{false, true, true, false, false, true, true, true, false, false};
    const auto counts = [&errors](int i) { return bool(errors[std::size_t(i)]); };
    const int n = int(errors.size());
    struct Case { int selected; int previous; int next; };
    const Case cases[] = {
        {-1, 5, 1}, {9, 5, -1}, {6, 5, -1}, {5, 1, -1}, {1, -1, 5}, {2, 1, 5}, {0, -1, 1}, {3, 1, 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindPreviousErrorRun(n, c.selected, counts), c.previous) << c.selected;
        EXPECT_EQ(FindNextErrorRun(n, c.selected, counts), c.next) << c.selected;
    }
    // A first record that is an error is reached, and stays.
    const auto first = [](int i) { return i == 0; };
    EXPECT_EQ(FindPreviousErrorRun(3, 2, first), 0);
    EXPECT_EQ(FindPreviousErrorRun(3, 0, first), 0);
    EXPECT_EQ(FindNextErrorRun(0, -1, first), -1);
}

class LineMonitorTest : public SchemeTest {
protected:
    void SetUp() override
    {
        SchemeTest::SetUp();
        LineLogClear();
    }
    void TearDown() override
    {
        LineLogClear();
        SchemeTest::TearDown();
    }
    void Add(const TFrameInfo* row, int result, const char* request, const char* answer)
    {
        LineLogAdd(row, result, QString::fromUtf8(request), QString::fromUtf8(answer));
        form->SetLineListCount(LineLogCount);
    }
    QStringList Info() const { return form->InfoMemo->Lines(); }
};

TEST_F(LineMonitorTest, SelectedRecordIsDecoded)
{
    const TFrameInfo* own = &DeviceCatalogue[rows[0]];
    const TFrameInfo* other = &DeviceCatalogue[rows[1]];
    AddDevice(rows[0], ModeEmulate, QStringLiteral("Стрела"));
    Add(nullptr, 4, "81", "");
    Add(other, 0, "82", "02 00");
    Add(own, 4, "'81", "01 00");
    form->SetLineListItemIndex(0);
    form->ShowLineRecordInfo();
    ASSERT_EQ(Info().size(), 2);
    EXPECT_EQ(Info()[1], QStringLiteral("Данные не определены"));
    form->SetLineListItemIndex(1);
    form->ShowLineRecordInfo();
    ASSERT_GE(Info().size(), 3);
    EXPECT_TRUE(Info()[1].endsWith(QStringLiteral(" (") + QString::fromUtf8(other->Model) + QLatin1Char(')')));
    EXPECT_EQ(Info()[2], QStringLiteral("Нет в схеме"));
    form->SetLineListItemIndex(2);
    form->ShowLineRecordInfo();
    EXPECT_EQ(Info()[2], QStringLiteral("Название: Стрела"));
    EXPECT_EQ(Info().last(), QStringLiteral("Нет ответа"));   // a failure shows its result, not the answer
    form->SetLineListItemIndex(-1);
    form->ShowLineRecordInfo();
    EXPECT_TRUE(Info().isEmpty());
}

TEST_F(LineMonitorTest, RecordingAndTheErrorButtons)
{
    Add(nullptr, 4, "81", "");
    form->ClearDataCheckBox->SetChecked(true);
    form->LineDataButtonClick(form->LineDataStartButton);
    EXPECT_TRUE(form->LineLogOn());
    EXPECT_FALSE(form->FindErrorsNextButton->isEnabled());
    EXPECT_EQ(LineLogCount, 0);
    EXPECT_EQ(form->LineListCount(), 0);
    form->LineDataButtonClick(form->LineDataStopButton);
    EXPECT_FALSE(form->LineLogOn());
    EXPECT_TRUE(form->FindErrorsPrevButton->isEnabled());

    // With a device selected, other devices' failures are skipped.
    TDeviceInfo* own = AddDevice(rows[0], ModeEmulate);
    Add(&DeviceCatalogue[rows[1]], 4, "82", "");
    Add(&DeviceCatalogue[rows[0]], 0, "81", "01 00");
    Add(&DeviceCatalogue[rows[0]], 3, "81", "01");
    form->SelectDevice(own);
    form->SetLineListItemIndex(-1);
    form->FindErrorsButtonClick(form->FindErrorsNextButton);
    EXPECT_EQ(form->LineListItemIndex(), 2);
    EXPECT_EQ(Info().last(), QStringLiteral("Неполный ответ"));
    form->FindErrorsButtonClick(form->FindErrorsPrevButton);
    EXPECT_EQ(form->LineListItemIndex(), 2);   // no earlier run of its own
}
