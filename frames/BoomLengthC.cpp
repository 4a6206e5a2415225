#include "frames/BoomLengthC.h"

#include "frames/Registration.h"

namespace {
constexpr int BoomLengthCRows[] = {39, 52};
constexpr Num Angle{{1, 0, 16, 2}, 256, 1.0L / 256};

constexpr TAngleValueLayout Layout{"LENLabel", "LEN, м:", "LENEdit", "LENUpDown", EditUFloat, EditSInt, 0,
                                   &InputItems, 2};
}

TBoomLengthCFrame::TBoomLengthCFrame(QWidget* owner, TDeviceInfo* info) : TAngleValueFrame(owner, info, Layout)
{
    FillAnswerOnlySlots(this);
}

void TBoomLengthCFrame::FrameToAnswer()
{
    TMessageImage& answer = Answer();
    if (const std::optional<std::int64_t> raw = Angle.fromEdit(ANGEdit->Text()))
        Angle.bits.store(answer, *raw);
    StoreCountLength(answer, *LENEdit);
    OrLengthInputs(answer, Item1(), Item2());
}

void TBoomLengthCFrame::AnswerToFrame()
{
    const TMessageImage& answer = Answer();
    ShowInFrame(Angle.text(answer), CountLengthText(answer), InputItem(static_cast<int>(LengthIn1.get(answer))),
                InputItem(static_cast<int>(LengthIn2.get(answer))));
}

void TBoomLengthCFrame::AnswerToGrid()
{
    const TMessageImage& answer = Answer();
    ShowInGrid(Angle.text(answer), CountLengthText(answer), LengthInputsText(answer));
}

void TBoomLengthCFrame::GridToAnswer(const QString& text, int column)
{
    TMessageImage& answer = Answer();
    switch (column) {
    case 3:
        if (const std::optional<std::int64_t> raw = Angle.fromCell(text))
            Angle.bits.set(answer, *raw);
        break;
    case 4:
        ReadCountLengthCell(answer, text);
        break;
    case 5:
        ReadLengthInputsCell(answer, text);
        break;
    default:
        break;
    }
}

TFrame* CreateBoomLengthCFrame(QWidget* owner, TDeviceInfo* info) { return new TBoomLengthCFrame(owner, info); }

QString DescribeBoomLengthCAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("ANG=%.2f, LEN=%u, IN2-1=%c%c", static_cast<double>(Angle.value(m)), Length12.get(m),
                      DigitChar(m, LengthIn2), DigitChar(m, LengthIn1));
}

void RegisterBoomLengthCFrames()
{
    BindRows({BoomLengthCRows[0], BoomLengthCRows[1]}, CreateBoomLengthCFrame, nullptr, DescribeBoomLengthCAnswer);
}
