#include "frames/AzimuthB.h"

#include "frames/Registration.h"
#include "platform/Numbers.h"

namespace {
constexpr int AzimuthBRow = 26;
constexpr Bits Angle{1, 0, 10, 2};      // 1024 steps to the full turn
constexpr Bits Temperature{2, 2, 4};    // (T + 60) / 4
constexpr Bits In1{2, 6, 2};            // 0 "Свободен", 1 "+24 В", 2 "Масса"
constexpr Bits Inputs[] = {In1};
constexpr DigitColumn InputColumn{Inputs, 3, 0};
constexpr Bits TemperatureAndInput{2, 2, 6};
constexpr long double StepsPerTurn = 1024;
constexpr long double FullTurn = 360;
constexpr long double DegreesPerStep = FullTurn / StepsPerTurn;   // 0.3515625, exact
constexpr int TemperatureBits = 0x3C;   // the field's bits in place within byte 2
constexpr int TemperatureOffset = 60;
constexpr int NearestStep = 2;          // half of the 4 °C step, so that halves round upward

constexpr TAngleValueLayout Layout{"T1Label", "T, °C:", "T1Edit", "T1UpDown", EditSFloat, EditSInt, -1,
                                   &InputItems, 1};

long double AngleValue(const TMessageImage& answer) { return Angle.get(answer) * DegreesPerStep; }
QString AngleText(const TMessageImage& answer) { return FormatFloat("0.00", AngleValue(answer)); }
int TemperatureValue(const TMessageImage& answer)
{
    return static_cast<int>(Temperature.get(answer) << 2) - TemperatureOffset;
}

// The field value in place in byte 2 (bits 2-5) as the bits of the temperature field.
std::int64_t TemperatureRaw(std::int64_t placed) { return (placed & TemperatureBits) >> 2; }
}

TAzimuthBFrame::TAzimuthBFrame(QWidget* owner, TDeviceInfo* info) : TAngleValueFrame(owner, info, Layout)
{
    FillAnswerOnlySlots(this);
}

void TAzimuthBFrame::FrameToAnswer()
{
    TMessageImage& answer = Answer();
    if (const std::optional<long double> angle = ReadWrappedGeneral(*ANGEdit, 0, static_cast<double>(FullTurn)))
        if (const std::optional<std::int64_t> steps = ToRaw(*angle * StepsPerTurn / FullTurn, 1, Round::AddHalf))
            Angle.set(answer, *steps);
    // The temperature rewrites the input code's bits too; the combo ORs the code in last.
    if (const std::optional<int> t = StrToInt(T1Edit->Text()))
        TemperatureAndInput.set(answer, TemperatureRaw(std::int64_t{*t} + TemperatureOffset + NearestStep));
    else
        In1.clear(answer);
    In1.orIn(answer, InputCode(Item1()));
}

void TAzimuthBFrame::AnswerToFrame()
{
    const TMessageImage& answer = Answer();
    ShowInFrame(AngleText(answer), QString::number(TemperatureValue(answer)), InputItem(static_cast<int>(In1.get(answer))));
}

void TAzimuthBFrame::AnswerToGrid()
{
    const TMessageImage& answer = Answer();
    ShowInGrid(AngleText(answer), QString::number(TemperatureValue(answer)), InputColumn.text(answer));
}

void TAzimuthBFrame::GridToAnswer(const QString& text, int column)
{
    TMessageImage& answer = Answer();
    switch (column) {
    case 3:
        if (const std::optional<long double> angle = StrToFloat(text))
            if (const std::optional<std::int64_t> steps = ToRaw(*angle * StepsPerTurn / FullTurn, 1, Round::HalfAway))
                Angle.set(answer, *steps);
        break;
    case 4:
        // Cut, not rounded: the cell keeps the temperature's own rounding to the 4 °C step.
        if (const std::optional<long double> t = StrToFloat(text))
            if (const std::optional<std::int64_t> placed = ToRaw(*t + TemperatureOffset + NearestStep, 1, Round::Trunc))
                Temperature.set(answer, TemperatureRaw(*placed));
        break;
    case 5:
        InputColumn.read(answer, text);
        break;
    default:
        break;
    }
}

TFrame* CreateAzimuthBFrame(QWidget* owner, TDeviceInfo* info) { return new TAzimuthBFrame(owner, info); }

QString DescribeAzimuthBAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("ANG=%.2f, T=%i, IN1=%c", static_cast<double>(AngleValue(m)), TemperatureValue(m),
                      DigitChar(m, In1));
}

void RegisterAzimuthBFrames() { BindRows({AzimuthBRow}, CreateAzimuthBFrame, nullptr, DescribeAzimuthBAnswer); }
