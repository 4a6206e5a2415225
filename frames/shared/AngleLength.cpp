#include "frames/shared/AngleLength.h"

#include <tuple>
#include <utility>

#include "frames/shared/FieldControls.h"
#include "model/Helpers.h"
#include "platform/Numbers.h"

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

TAngleValueFrame::TAngleValueFrame(QWidget* owner, TDeviceInfo* info, const TAngleValueLayout& layout,
                                   const TAngleValueRules& rules)
    : TFrameBase(owner, info, false), ModelRules(rules)
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
        return std::pair{l, combo};
    };
    std::tie(IN1Label, IN1ComboBox) = inputRow("IN1Label", "1", "IN1ComboBox", firstTop);
    if (layout.Inputs > 1)
        std::tie(IN2Label, IN2ComboBox) = inputRow("IN2Label", "2", "IN2ComboBox", firstTop + RowPitch);
    InPanel->SetHeight(firstTop + layout.Inputs * RowPitch);
    FitHeight();
    FillAnswerOnlySlots(this);
}

void TAngleValueFrame::FrameToAnswer()
{
    TMessageImage& answer = Answer();
    ModelRules.storeAngle(answer, *ANGEdit);
    ModelRules.storeSecond(answer, *SecondEdit);
    ModelRules.storeInputs(answer, IN1ComboBox->ItemIndex(), IN2ComboBox ? IN2ComboBox->ItemIndex() : -1);
}

void TAngleValueFrame::AnswerToFrame()
{
    const TMessageImage& answer = Answer();
    ANGEdit->SetText(ModelRules.angleText(answer));
    SecondEdit->SetText(ModelRules.secondText(answer));
    IN1ComboBox->SetItemIndex(ModelRules.item(answer, 0));
    if (IN2ComboBox)
        IN2ComboBox->SetItemIndex(ModelRules.item(answer, 1));
}

// Column 6 is unused by all.
void TAngleValueFrame::AnswerToGrid()
{
    const TMessageImage& answer = Answer();
    WriteCell(*Info, 3, ModelRules.angleText(answer));
    WriteCell(*Info, 4, ModelRules.secondText(answer));
    WriteCell(*Info, 5, ModelRules.inputsText(answer));
    WriteCell(*Info, 6, NoValueText);
}

void TAngleValueFrame::GridToAnswer(const QString& text, int column)
{
    TMessageImage& answer = Answer();
    switch (column) {
    case 3:
        ModelRules.readAngle(answer, text);
        break;
    case 4:
        ModelRules.readSecond(answer, text);
        break;
    case 5:
        ModelRules.readInputs(answer, text);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------

namespace {
constexpr Bits LengthInputBits{4, 4, 4};
constexpr Bits LengthInputs[] = {LengthIn1, LengthIn2};
constexpr DigitColumn LengthInputColumn{LengthInputs, 3, 0};
}

void StoreLength12Edit(TMessageImage& answer, TEdit& edit, double range, long double scale, Round rounding)
{
    const std::optional<long double> length = ReadWrappedEdit(edit, 0, range);
    const std::optional<std::int64_t> raw = length ? ToRaw(*length, scale, rounding) : std::nullopt;
    if (raw)
        LengthWord.store(answer, *raw & 0x0FFF);
    else
        LengthInputBits.clear(answer);
}

void OrLengthInputs(TMessageImage& answer, int item1, int item2)
{
    LengthIn1.orIn(answer, InputCode(item1));
    LengthIn2.orIn(answer, InputCode(item2));
}

int LengthInputItem(const TMessageImage& answer, int input)
{
    return InputItem(static_cast<int>(LengthInputs[input].get(answer)));
}

QString LengthInputsText(const TMessageImage& answer) { return LengthInputColumn.text(answer); }

void ReadLengthInputsCell(TMessageImage& answer, const QString& text) { LengthInputColumn.read(answer, text); }

void StoreCountLength(TMessageImage& answer, TEdit& edit) { StoreLength12Edit(answer, edit, 4096, 1, Round::Trunc); }

void ReadCountLengthCell(TMessageImage& answer, const QString& text)
{
    if (const std::optional<std::int64_t> raw = Num{Length12}.fromCell(text))
        Length12.set(answer, *raw);
}

QString DescribeCountLength(const TMessageImage& message, long double angle)
{
    return FormatLine("ANG=%.2f, LEN=%u, IN2-1=%c%c", static_cast<double>(angle), Length12.get(message),
                      DigitChar(message, LengthIn2), DigitChar(message, LengthIn1));
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

QString WholeAngleText(const TMessageImage& answer) { return QString::number(SignedAngle(answer)); }

QString WholeTemperatureText(const TMessageImage& answer) { return QString::number(SignedTemperature(answer)); }

void StoreWholeAngleEdit(TMessageImage& answer, TEdit& edit)
{
    if (const std::optional<int> typed = StrToInt(edit.Text()))
        StoreSignedAngle(answer, static_cast<std::int64_t>(WrapIntoEdit(edit, *typed, -HalfTurn, HalfTurn, WholeText)));
}

void StoreWholeTemperatureEdit(TMessageImage& answer, TEdit& edit)
{
    if (const std::optional<int> typed = StrToInt(edit.Text()))
        StoreSignedTemperature(answer, *typed);
}

// Both cells are bounded as the angle's byte; the temperature keeps the seven bits it has.
void ReadWholeAngleCell(TMessageImage& answer, const QString& text)
{
    if (const std::optional<std::int64_t> degrees = Num{AngleMagnitude}.fromCell(text))
        StoreSignedAngle(answer, *degrees);
}

void ReadWholeTemperatureCell(TMessageImage& answer, const QString& text)
{
    if (const std::optional<std::int64_t> degrees = Num{AngleMagnitude}.fromCell(text))
        StoreSignedTemperature(answer, *degrees);
}

QString DescribeWholeDegrees(const TMessageImage& message, const Bits& in1)
{
    return FormatLine("ANG=%i, T=%i, IN1=%c", SignedAngle(message), SignedTemperature(message), DigitChar(message, in1));
}
