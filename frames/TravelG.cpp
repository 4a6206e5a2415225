#include "frames/TravelG.h"

#include "frames/Registration.h"
#include "platform/Numbers.h"

namespace {
constexpr int TravelGRow = 84;
constexpr Num Angle{{1, 0, 16, 2}, 100, 0.01L};
constexpr double FullTurn = 360;

constexpr TAngleValueLayout Layout{"LENLabel", "LEN, м:", "LENEdit", "LENUpDown", EditUFloat, EditSInt, 0,
                                   &InputItems, 2};

// The sensor's angle is a single-precision value: the wrapped angle is shown and scaled as such.
QString SingleText(long double value) { return FloatToStr(static_cast<float>(value)); }
}

TTravelGFrame::TTravelGFrame(QWidget* owner, TDeviceInfo* info) : TAngleValueFrame(owner, info, Layout)
{
    FillAnswerOnlySlots(this);
}

void TTravelGFrame::FrameToAnswer()
{
    TMessageImage& answer = Answer();
    if (const std::optional<long double> typed = StrToFloat(ANGEdit->Text())) {
        const float angle = static_cast<float>(WrapIntoEdit(*ANGEdit, *typed, 0, FullTurn, SingleText));
        if (const std::optional<std::int64_t> raw = ToRaw(angle, Angle.scale, Round::AddHalf))
            Angle.bits.store(answer, *raw);
    }
    StoreCountLength(answer, *LENEdit);
    OrLengthInputs(answer, Item1(), Item2());
}

void TTravelGFrame::AnswerToFrame()
{
    const TMessageImage& answer = Answer();
    ShowInFrame(Angle.text(answer), CountLengthText(answer), InputItem(static_cast<int>(LengthIn1.get(answer))),
                InputItem(static_cast<int>(LengthIn2.get(answer))));
}

void TTravelGFrame::AnswerToGrid()
{
    const TMessageImage& answer = Answer();
    ShowInGrid(Angle.text(answer), CountLengthText(answer), LengthInputsText(answer));
}

void TTravelGFrame::GridToAnswer(const QString& text, int column)
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

TFrame* CreateTravelGFrame(QWidget* owner, TDeviceInfo* info) { return new TTravelGFrame(owner, info); }

QString DescribeTravelGAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("ANG=%.2f, LEN=%u, IN2-1=%c%c", static_cast<double>(Angle.value(m)), Length12.get(m),
                      DigitChar(m, LengthIn2), DigitChar(m, LengthIn1));
}

void RegisterTravelGFrames() { BindRows({TravelGRow}, CreateTravelGFrame, nullptr, DescribeTravelGAnswer); }
