#include "frames/AngleLength.h"

#include "frames/FrameFields.h"
#include "model/Helpers.h"
#include "platform/Numbers.h"

#include <cstdio>
#include <tuple>
#include <utility>

namespace {
constexpr int FieldHeight = 28;
constexpr int LabelWidth = 66;
constexpr int EditLeft = 72;
constexpr int EditWidth = 114;
constexpr int RowPitch = 36;
constexpr int ValueRowsHeight = 2 * RowPitch + 6;   // the angle row and the second row
constexpr int NumberLabelLeft = 48;
constexpr int NumberLabelWidth = 18;
}

TAngleValueFrame::TAngleValueFrame(QWidget* owner, TDeviceInfo* info, const TAngleValueLayout& layout)
    : TFrameBase(owner, info, false)
{
    const auto label = [this](const char* name, const QString& caption, int left, int top, int width) {
        TLabel* l = AddLabel(InPanel, name, caption, left, top);
        l->SetBounds(left, top, width, FieldHeight);
        return l;
    };
    const auto edit = [this](const char* name, int top, int kind) {
        TEdit* e = AddEdit(InPanel, name, EditLeft, top, EditWidth, kind);
        e->SetHeight(FieldHeight);
        return e;
    };
    ANGLabel = label("ANGLabel", QStringLiteral("ANG, °:"), 6, 6, LabelWidth);
    ANGEdit = edit("ANGEdit", 6, layout.AngleTag);
    ANGUpDown = AddUpDown(InPanel, "ANGUpDown", ANGEdit, layout.AngleUpDownMin);
    const int secondTop = 6 + RowPitch;
    SecondLabel = label(layout.SecondLabelName, QString::fromUtf8(layout.SecondCaption), 6, secondTop, LabelWidth);
    SecondEdit = edit(layout.SecondEditName, secondTop, layout.SecondTag);
    SecondUpDown = AddUpDown(InPanel, layout.SecondUpDownName, SecondEdit);

    Bevel1 = AddBevel(InPanel, "Bevel1", 6, ValueRowsHeight, 312, 3, TBevelShape::BottomLine);
    const int firstTop = ValueRowsHeight + 6;
    INLabel = label("INLabel", QStringLiteral("IN:"), 6, firstTop, 42);
    const auto inputRow = [&](const char* labelName, const char* number, const char* comboName, int top) {
        TLabel* l = label(labelName, QString::fromLatin1(number), NumberLabelLeft, top, NumberLabelWidth);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        TComboBox* combo = AddComboBox(InPanel, comboName, *layout.Items, EditLeft, top, EditWidth);
        combo->SetEnabled(false);
        return std::pair{l, combo};
    };
    std::tie(IN1Label, IN1ComboBox) = inputRow("IN1Label", "1", "IN1ComboBox", firstTop);
    if (layout.Inputs > 1)
        std::tie(IN2Label, IN2ComboBox) = inputRow("IN2Label", "2", "IN2ComboBox", firstTop + RowPitch);
    InPanel->SetHeight(firstTop + layout.Inputs * RowPitch);
    FitHeight();
}

void TAngleValueFrame::ShowInFrame(const QString& angle, const QString& second, int item1, int item2)
{
    ANGEdit->SetText(angle);
    SecondEdit->SetText(second);
    IN1ComboBox->SetItemIndex(item1);
    if (IN2ComboBox)
        IN2ComboBox->SetItemIndex(item2);
}

void TAngleValueFrame::ShowInGrid(const QString& angle, const QString& second, const QString& inputs)
{
    WriteCell(*Info, 3, angle);
    WriteCell(*Info, 4, second);
    WriteCell(*Info, 5, inputs);
    WriteCell(*Info, 6, NoValueText);
}

long double WrapIntoEdit(TEdit& edit, long double value, double low, double high, QString (*show)(long double))
{
    bool changed = false;
    const double wrapped = WrapValue(static_cast<double>(value), low, high, changed);
    if (!changed)
        return value;
    edit.SetText(show(wrapped));
    return wrapped;
}

std::optional<long double> ReadWrappedGeneral(TEdit& edit, double low, double high)
{
    const std::optional<long double> value = StrToFloat(edit.Text());
    if (!value)
        return std::nullopt;
    return WrapIntoEdit(edit, *value, low, high, FloatToStr);
}

// ---------------------------------------------------------------------------------------------

namespace {
constexpr Bits LengthInputs[] = {LengthIn1, LengthIn2};
constexpr DigitColumn LengthInputColumn{LengthInputs, 3, 0};
}

void StoreLength12(TMessageImage& answer, std::int64_t raw) { LengthWord.store(answer, raw & 0x0FFF); }

void OrLengthInputs(TMessageImage& answer, int item1, int item2)
{
    LengthIn1.orIn(answer, InputCode(item1));
    LengthIn2.orIn(answer, InputCode(item2));
}

QString LengthInputsText(const TMessageImage& answer) { return LengthInputColumn.text(answer); }

void ReadLengthInputsCell(TMessageImage& answer, const QString& text) { LengthInputColumn.read(answer, text); }

void StoreCountLength(TMessageImage& answer, TEdit& edit)
{
    const std::optional<long double> length = ReadWrappedGeneral(edit, 0, 4096);
    const std::optional<std::int64_t> raw = length ? ToRaw(*length, 1, Round::Trunc) : std::nullopt;
    if (raw)
        StoreLength12(answer, *raw);
    else
        ClearLengthInputs(answer);
}

void ReadCountLengthCell(TMessageImage& answer, const QString& text)
{
    if (const std::optional<std::int64_t> raw = Num{Length12}.fromCell(text))
        Length12.set(answer, *raw);
}

// ---------------------------------------------------------------------------------------------

namespace {
constexpr Bits AngleMagnitude{1, 0, 8};
constexpr Bits AngleSign{2, 7, 1};
constexpr Bits TemperatureMagnitude{3, 0, 7};
constexpr Bits TemperatureSign{3, 7, 1};
constexpr double HalfTurn = 180;

std::uint64_t Magnitude(std::int64_t value)
{
    return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

void StoreSignedAngle(TMessageImage& answer, std::int64_t degrees)
{
    AngleMagnitude.store(answer, static_cast<std::int64_t>(Magnitude(degrees) & 0xFF));
    AngleSign.set(answer, degrees < 0 ? 1 : 0);
}

void StoreSignedTemperature(TMessageImage& answer, std::int64_t degrees)
{
    TemperatureMagnitude.store(answer, static_cast<std::int64_t>(Magnitude(degrees) & 0x7F));
    TemperatureSign.orIn(answer, degrees < 0 ? 1 : 0);
}

QString WholeText(long double value) { return QString::number(static_cast<long long>(value)); }

int Signed(std::uint32_t magnitude, bool negative)
{
    return negative ? -static_cast<int>(magnitude) : static_cast<int>(magnitude);
}
}

int SignedAngle(const TMessageImage& answer) { return Signed(AngleMagnitude.get(answer), AngleSign.get(answer)); }

int SignedTemperature(const TMessageImage& answer)
{
    return Signed(TemperatureMagnitude.get(answer), TemperatureSign.get(answer));
}

void StoreWholeDegreeEdits(TMessageImage& answer, TEdit& angle, const TEdit& temperature)
{
    if (const std::optional<int> typed = StrToInt(angle.Text()))
        StoreSignedAngle(answer, static_cast<std::int64_t>(WrapIntoEdit(angle, *typed, -HalfTurn, HalfTurn, WholeText)));
    if (const std::optional<int> typed = StrToInt(temperature.Text()))
        StoreSignedTemperature(answer, *typed);
}

void ReadWholeDegreeCell(TMessageImage& answer, const QString& text, int column)
{
    if (column != 3 && column != 4)
        return;
    const std::optional<std::int64_t> degrees = Num{AngleMagnitude}.fromCell(text);
    if (!degrees)
        return;
    if (column == 3)
        StoreSignedAngle(answer, *degrees);
    else
        StoreSignedTemperature(answer, *degrees);
}
