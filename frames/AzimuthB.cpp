#include "frames/AzimuthB.h"

#include "frames/shared/Registration.h"

namespace {
constexpr int AzimuthBRow = 26;
constexpr Bits Angle{1, 0, 10, 2};     // 1024 steps to the full turn
constexpr Bits Temperature{2, 2, 4};   // (T + 60) / 4
constexpr Bits In1{2, 6, 2};           // 0 "Свободен", 1 "+24 В", 2 "Масса"
constexpr Bits Inputs[] = {In1};
constexpr DigitColumn InputColumn{Inputs, 3, 0};
constexpr Bits TemperatureAndInput{2, 2, 6};
constexpr long double StepsPerTurn = 1024;
constexpr long double FullTurn = 360;
constexpr long double DegreesPerStep = FullTurn / StepsPerTurn;   // 0.3515625, exact
constexpr int TemperatureBits = 0x3C;                             // the field's bits in place within byte 2
constexpr int TemperatureOffset = 60;
constexpr int NearestStep = 2;   // half of the 4 °C step, so that halves round upward

long double AngleValue(const TMessageImage& answer) { return Angle.get(answer) * DegreesPerStep; }
int TemperatureValue(const TMessageImage& answer)
{
    return static_cast<int>(Temperature.get(answer) << 2) - TemperatureOffset;
}

// The field value in place in byte 2 (bits 2-5) as the bits of the temperature field.
std::int64_t TemperatureRaw(std::int64_t placed) { return (placed & TemperatureBits) >> 2; }

void StoreSteps(TMessageImage& answer, long double angle, Round rounding)
{
    if (const std::optional<std::int64_t> steps = ToRaw(angle * StepsPerTurn / FullTurn, 1, rounding))
        Angle.set(answer, *steps);
}

void StoreAngle(TMessageImage& answer, TEdit& edit)
{
    if (const std::optional<long double> angle = ReadWrappedEdit(edit, 0, static_cast<double>(FullTurn)))
        StoreSteps(answer, *angle, Round::AddHalf);
}

// The temperature rewrites the input code's bits too; the combo ORs the code in last.
void StoreTemperature(TMessageImage& answer, TEdit& edit)
{
    if (const std::optional<int> t = StrToInt(edit.Text()))
        TemperatureAndInput.set(answer, TemperatureRaw(std::int64_t{*t} + TemperatureOffset + NearestStep));
    else
        In1.clear(answer);
}

void ReadAngleCell(TMessageImage& answer, const QString& text)
{
    if (const std::optional<long double> angle = StrToFloat(text))
        StoreSteps(answer, *angle, Round::HalfAway);
}

// Cut, not rounded: the cell keeps the temperature's own rounding to the 4 °C step.
void ReadTemperatureCell(TMessageImage& answer, const QString& text)
{
    if (const std::optional<long double> t = StrToFloat(text))
        if (const std::optional<std::int64_t> placed = ToRaw(*t + TemperatureOffset + NearestStep, 1, Round::Trunc))
            Temperature.set(answer, TemperatureRaw(*placed));
}

constexpr TAngleValueRules Rules{
    [](const TMessageImage& a) { return FormatFloat("0.00", AngleValue(a)); },
    [](const TMessageImage& a) { return QString::number(TemperatureValue(a)); },
    [](const TMessageImage& a) { return InputColumn.text(a); },
    [](const TMessageImage& a, int) { return InputItem(static_cast<int>(In1.get(a))); },
    StoreAngle,
    StoreTemperature,
    [](TMessageImage& a, int item1, int) { In1.orIn(a, InputCode(item1)); },
    ReadAngleCell,
    ReadTemperatureCell,
    [](TMessageImage& a, const QString& text) { InputColumn.read(a, text); }};
constexpr TAngleValueLayout Layout = TemperatureRowLayout(EditSFloat, -1, &InputItems);
}

TAzimuthBFrame::TAzimuthBFrame(QWidget* owner, TDeviceInfo* info) : TAzimuthFrame(owner, info, Layout, Rules) {}

TFrame* CreateAzimuthBFrame(QWidget* owner, TDeviceInfo* info) { return new TAzimuthBFrame(owner, info); }

QString DescribeAzimuthBAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("ANG=%.2f, T=%i, IN1=%c", static_cast<double>(AngleValue(m)), TemperatureValue(m),
                      DigitChar(m, In1));
}

void RegisterAzimuthBFrames() { BindRows({AzimuthBRow}, CreateAzimuthBFrame, nullptr, DescribeAzimuthBAnswer); }
