#include "frames/AzimuthC.h"

#include "frames/Registration.h"

#include <algorithm>

namespace {
constexpr int AzimuthCRow = 82;
constexpr Bits In1{2, 5, 2};   // 0 "Свободен", 1 "Плюс", 2 "Масса"; 3 counts as "Масса"
constexpr Bits Inputs[] = {In1};
// Only the codes 0 and 1 can be typed into the grid.
constexpr DigitColumn InputColumn{Inputs, 2, 0};
constexpr int GroundItem = 2;

const QStringList Items = {QStringLiteral("Свободен"), QStringLiteral("Плюс"), QStringLiteral("Масса")};
const TAngleValueLayout Layout{"T1Label", "T, °C:", "T1Edit", "T1UpDown", EditSInt, EditSInt, 0, &Items, 1};

int In1Item(const TMessageImage& answer) { return std::min(static_cast<int>(In1.get(answer)), GroundItem); }
}

TAzimuthCFrame::TAzimuthCFrame(QWidget* owner, TDeviceInfo* info) : TAngleValueFrame(owner, info, Layout)
{
    FillAnswerOnlySlots(this);
}

void TAzimuthCFrame::FrameToAnswer()
{
    TMessageImage& answer = Answer();
    StoreWholeDegreeEdits(answer, *ANGEdit, *T1Edit);
    In1.set(answer, InputCode(Item1()));
}

void TAzimuthCFrame::AnswerToFrame()
{
    const TMessageImage& answer = Answer();
    ShowInFrame(QString::number(SignedAngle(answer)), QString::number(SignedTemperature(answer)), In1Item(answer));
}

void TAzimuthCFrame::AnswerToGrid()
{
    const TMessageImage& answer = Answer();
    ShowInGrid(QString::number(SignedAngle(answer)), QString::number(SignedTemperature(answer)),
               QString::number(In1.get(answer)));
}

void TAzimuthCFrame::GridToAnswer(const QString& text, int column)
{
    if (column == 5)
        InputColumn.read(Answer(), text);
    else
        ReadWholeDegreeCell(Answer(), text, column);
}

TFrame* CreateAzimuthCFrame(QWidget* owner, TDeviceInfo* info) { return new TAzimuthCFrame(owner, info); }

QString DescribeAzimuthCAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("ANG=%i, T=%i, IN1=%c", SignedAngle(m), SignedTemperature(m), DigitChar(m, In1));
}

void RegisterAzimuthCFrames() { BindRows({AzimuthCRow}, CreateAzimuthCFrame, nullptr, DescribeAzimuthCAnswer); }
