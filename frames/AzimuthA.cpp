#include "frames/AzimuthA.h"

#include "frames/Registration.h"

namespace {
constexpr int AzimuthARow = 25;
constexpr Bits In1{2, 6, 1};   // 1 = "Масса"
constexpr Bits Inputs[] = {In1};
constexpr DigitColumn InputColumn{Inputs, 2, 0};

constexpr TAngleValueLayout Layout{"T1Label", "T, °C:", "T1Edit", "T1UpDown", EditSInt, EditSInt, 0,
                                   &GroundInputItems, 1};
}

TAzimuthAFrame::TAzimuthAFrame(QWidget* owner, TDeviceInfo* info) : TAngleValueFrame(owner, info, Layout)
{
    FillAnswerOnlySlots(this);
}

void TAzimuthAFrame::FrameToAnswer()
{
    TMessageImage& answer = Answer();
    StoreWholeDegreeEdits(answer, *ANGEdit, *T1Edit);
    In1.set(answer, TwoItemBit(Item1()));
}

void TAzimuthAFrame::AnswerToFrame()
{
    const TMessageImage& answer = Answer();
    ShowInFrame(QString::number(SignedAngle(answer)), QString::number(SignedTemperature(answer)),
                static_cast<int>(In1.get(answer)));
}

void TAzimuthAFrame::AnswerToGrid()
{
    const TMessageImage& answer = Answer();
    ShowInGrid(QString::number(SignedAngle(answer)), QString::number(SignedTemperature(answer)),
               InputColumn.text(answer));
}

void TAzimuthAFrame::GridToAnswer(const QString& text, int column)
{
    if (column == 5)
        InputColumn.read(Answer(), text);
    else
        ReadWholeDegreeCell(Answer(), text, column);
}

TFrame* CreateAzimuthAFrame(QWidget* owner, TDeviceInfo* info) { return new TAzimuthAFrame(owner, info); }

QString DescribeAzimuthAAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("ANG=%i, T=%i, IN1=%c", SignedAngle(m), SignedTemperature(m), DigitChar(m, In1));
}

void RegisterAzimuthAFrames() { BindRows({AzimuthARow}, CreateAzimuthAFrame, nullptr, DescribeAzimuthAAnswer); }
