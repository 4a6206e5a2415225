#include "frames/BoomLengthA.h"

#include "frames/Registration.h"
#include "platform/Numbers.h"

namespace {
constexpr int BoomLengthARow = 13;
constexpr Bits AngleWord{1, 0, 16, 2};
constexpr Num Angle{{1, 0, 15, 2}, 256, 1.0L / 256};
constexpr Bits In1{2, 7, 1};   // bit 15 of the angle word, 1 = "Масса"
constexpr Num Length{LengthWord, 256, 1.0L / 256};
constexpr double LengthRange = 256;   // metres: the word holds exactly this many

constexpr TAngleValueLayout Layout{"LENLabel", "LEN, м:", "LENEdit", "LENUpDown", EditUFloat, EditUFloat, 0,
                                   &GroundInputItems, 1};

QString In1Text(const TMessageImage& answer) { return In1.get(answer) ? QStringLiteral("1") : QStringLiteral("0"); }
}

TBoomLengthAFrame::TBoomLengthAFrame(QWidget* owner, TDeviceInfo* info) : TAngleValueFrame(owner, info, Layout)
{
    FillAnswerOnlySlots(this);
}

void TBoomLengthAFrame::FrameToAnswer()
{
    TMessageImage& answer = Answer();
    // The angle's store leaves the input bit at 0 either way; the combo sets it last.
    if (const std::optional<std::int64_t> raw = Angle.fromEdit(ANGEdit->Text()))
        AngleWord.store(answer, *raw & 0x7FFF);
    else
        In1.clear(answer);
    if (const std::optional<long double> length = ReadWrappedGeneral(*LENEdit, 0, LengthRange))
        if (const std::optional<std::int64_t> raw = ToRaw(*length, Length.scale, Round::AddHalf))
            Length.bits.store(answer, *raw);
    In1.set(answer, TwoItemBit(Item1()));
}

void TBoomLengthAFrame::AnswerToFrame()
{
    const TMessageImage& answer = Answer();
    ShowInFrame(Angle.text(answer), Length.text(answer), static_cast<int>(In1.get(answer)));
}

void TBoomLengthAFrame::AnswerToGrid()
{
    const TMessageImage& answer = Answer();
    ShowInGrid(Angle.text(answer), Length.text(answer), In1Text(answer));
}

void TBoomLengthAFrame::GridToAnswer(const QString& text, int column)
{
    TMessageImage& answer = Answer();
    static constexpr Bits Inputs[] = {In1};
    switch (column) {
    case 3:
        if (const std::optional<std::int64_t> raw = Angle.fromCell(text))
            Angle.bits.set(answer, *raw);
        break;
    case 4:
        if (const std::optional<std::int64_t> raw = Length.fromCell(text))
            Length.bits.set(answer, *raw);
        break;
    case 5:
        DigitColumn{Inputs, 2, 0}.read(answer, text);
        break;
    default:
        break;
    }
}

TFrame* CreateBoomLengthAFrame(QWidget* owner, TDeviceInfo* info) { return new TBoomLengthAFrame(owner, info); }

QString DescribeBoomLengthAAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("ANG=%.2f, LEN=%.2f, IN1=%c", static_cast<double>(Angle.value(m)),
                      static_cast<double>(Length.value(m)), In1.get(m) ? '1' : '0');
}

void RegisterBoomLengthAFrames() { BindRows({BoomLengthARow}, CreateBoomLengthAFrame, nullptr, DescribeBoomLengthAAnswer); }
