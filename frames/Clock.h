#pragma once
// The clock device: answers its poll with a date and a time. With "Текущее время" ticked the
// emulated answer always carries the computer's current local date and time.
#include <QDateTime>
#include <cstdint>

#include "frames/shared/FrameBase.h"

class TClockFrame final : public TFrameBase {
public:
    TClockFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TClockFrame"; }

    TLabel* DateLabel;
    TLabel* D1Label;
    TLabel* D2Label;
    TLabel* TimeLabel;
    TLabel* T1Label;
    TLabel* T2Label;
    TEdit* DayEdit;
    TUpDown* DayUpDown;
    TEdit* MonthEdit;
    TUpDown* MonthUpDown;
    TEdit* YearEdit;
    TUpDown* YearUpDown;
    TEdit* HourEdit;
    TUpDown* HourUpDown;
    TEdit* MinEdit;
    TUpDown* MinUpDown;
    TEdit* SecEdit;
    TUpDown* SecUpDown;
    TCheckBox* CurrentTimeBox;

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();

    // Where the current time comes from; tests pin it.
    static QDateTime (*CurrentDateTime)();

private:
    void showDateTime(const QDateTime& now);
};

TFrame* CreateClockFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeClockAnswer(const std::uint8_t* message);

// Binds the clock's factory and answer decoder into its catalogue row.
void RegisterClockFrame();
