#include "frames/SingleValueModels.h"

#include "model/Helpers.h"

namespace {
// The value field: `width` bits from bit 0 of the answer word.
constexpr Bits ValueBits(std::uint8_t width) { return Bits{1, 0, width, 2}; }
constexpr Num Decimal(std::uint8_t width, long double scale, long double factor) { return Num{ValueBits(width), scale, factor}; }
constexpr Num Integer(std::uint8_t width) { return Num{ValueBits(width)}; }

// The input rows of the word's top bits.
const TInputRow OneBitIn1[] = {{Bits{1, 15, 1, 2}, "IN1Label", "1", "IN1ComboBox"}};
const TInputRow TwoBitIn1[] = {{Bits{1, 14, 2, 2}, "IN1Label", "1", "IN1ComboBox"}};
const TInputRow TwoBitIn2In3[] = {
    {Bits{1, 14, 2, 2}, "IN2Label", "2", "IN2ComboBox"},
    {Bits{1, 12, 2, 2}, "IN3Label", "3", "IN3ComboBox"},
};
const QStringList PlusInputItems = {QStringLiteral("Свободен"), QStringLiteral("+24 В")};

constexpr TSingleValueModel Tilt(const char* frameClass, const QStringList* items)
{
    return {frameClass, Decimal(15, 256, 0.00390625L), TInputKind::OneBit, OneBitIn1, items,
            "ANG=%.2f, IN1=%c", "ANGLabel", "ANG, °:", "ANGEdit", 2, "ANGUpDown", "Bevel1"};
}

// Grid column 5 over the model's input fields (the caller keeps the field list alive).
DigitColumn InputColumn(const TSingleValueModel& model, std::array<Bits, 2>& fields)
{
    for (std::size_t i = 0; i < model.Inputs.size(); ++i)
        fields[i] = model.Inputs[i].Field;
    return DigitColumn{std::span<const Bits>(fields.data(), model.Inputs.size()), model.DigitRadix(), 4};
}
}

// clang-format off
const TSingleValueModel PressureAModel = {"TPressureAFrame", Decimal(16, 40.96L, 0.0244140625L),
    TInputKind::None, {}, nullptr, "P=%.2f", "PLabel", "P, атм:", "PEdit", 2, "PUpDown", nullptr};
const TSingleValueModel PressureBModel = {"TPressureBFrame", Decimal(14, 40.96L, 0.0244140625L),
    TInputKind::TwoBit, TwoBitIn1, &InputItems, "P=%.2f, IN1=%c", "PLabel", "P, атм:", "PEdit", 2, "PUpDown", "Bevel1"};
const TSingleValueModel TensionAModel = {"TTensionAFrame", Decimal(16, 128, 0.0078125L),
    TInputKind::None, {}, nullptr, "F=%.2f", "FLabel", "F, кгс:", "FEdit", 2, "FUpDown", nullptr};
const TSingleValueModel TensionBModel = {"TTensionBFrame", Integer(14),
    TInputKind::TwoBit, TwoBitIn1, &InputItems, "F=%u, IN1=%c", "FLabel", "F, кг:", "FEdit", 0, "FUpDown", "Bevel1"};
const TSingleValueModel TensionCModel = {"TTensionCFrame", Integer(14),
    TInputKind::None, {}, nullptr, "F=%u", "FLabel", "F, кг:", "FEdit", 0, "FUpDown", nullptr};
const TSingleValueModel CompressionModel = {"TCompressionFrame", Integer(15),
    TInputKind::OneBit, OneBitIn1, &GroundInputItems, "F=%u, IN1=%c", "FLabel", "F, кгс:", "FEdit", 0, "FUpDown", "Bevel"};
const TSingleValueModel WindSpeedModel = {"TWindSpeedFrame", Decimal(14, 10, 0.1L),
    TInputKind::TwoBit, TwoBitIn1, &InputItems, "V=%.2f, IN1=%c", "VLabel", "V, м/с:", "VEdit", 2, "VUpDown", "Bevel1"};
const TSingleValueModel FuelLevelModel = {"TFuelLevelFrame", Decimal(14, 100, 0.01L),
    TInputKind::None, {}, nullptr, "D=%.2f", "FLabel", "D, %:", "DEdit", 2, "FUpDown", nullptr};
const TSingleValueModel TiltAModel = Tilt("TTiltAFrame", &GroundInputItems);
const TSingleValueModel TiltBModel = Tilt("TTiltBFrame", &PlusInputItems);
const TSingleValueModel TiltCModel = Tilt("TTiltCFrame", &GroundInputItems);
const TSingleValueModel TravelCModel = {"TTravelCFrame", Integer(16),
    TInputKind::None, {}, nullptr, "L=%u", "LLabel", "L, ед.:", "LEdit", 0, "LUpDown", nullptr};
// Its info line names the value "F" although the frame labels it "L".
const TSingleValueModel TravelFModel = {"TTravelFFrame", Integer(14),
    TInputKind::TwoBit, TwoBitIn1, &InputItems, "F=%u, IN1=%c", "LLabel", "L, ед.:", "LEdit", 0, "LUpDown", "Bevel1"};
const TSingleValueModel LineProximityAModel = {"TLineProximityAFrame", Integer(10),
    TInputKind::TwoBit, TwoBitIn2In3, &InputItems, "E=%u, IN3-2=%c%c", "ELabel", "E, В:", "EEdit", 0, "EUpDown", "Bevel1"};
const TSingleValueModel LineProximityCModel = {"TLineProximityCFrame", Integer(10),
    TInputKind::TwoBit, TwoBitIn1, &InputItems, "E=%u, IN1=%c", "ELabel", "E, В:", "EEdit", 0, "EUpDown", "Bevel1"};
// clang-format on

const std::array<const TSingleValueModel*, 15> SingleValueModels = {
    // clang-format off
    &PressureAModel, &PressureBModel, &TensionAModel, &TensionBModel, &TensionCModel,
    &CompressionModel, &WindSpeedModel, &FuelLevelModel, &TiltAModel, &TiltBModel,
    &TiltCModel, &TravelCModel, &TravelFModel, &LineProximityAModel, &LineProximityCModel,
    // clang-format on
};

void SingleValueFromFrame(const TSingleValueModel& model, TMessageImage& answer,
                          const QString& valueText, std::span<const int> itemIndexes)
{
    // The value field writes the whole word, so that unused bits and inputs start from 0.
    if (const std::optional<std::int64_t> raw = model.Value.fromEdit(valueText))
        model.Value.bits.store(answer, *raw);
    else
        model.Value.bits.keepOnly(answer);
    for (std::size_t i = 0; i < model.Inputs.size() && i < itemIndexes.size(); ++i) {
        const int item = itemIndexes[i];
        const int code = model.InputKind == TInputKind::OneBit ? TwoItemBit(item) : InputCode(item);
        model.Inputs[i].Field.orIn(answer, code);
    }
}

int SingleValueItem(const TSingleValueModel& model, const TMessageImage& answer, std::size_t input)
{
    const int code = static_cast<int>(model.Inputs[input].Field.get(answer));
    return model.InputKind == TInputKind::OneBit ? code : InputItem(code);
}

QString SingleValueInputText(const TSingleValueModel& model, const TMessageImage& answer)
{
    if (model.Inputs.empty())
        return NoValueText;
    std::array<Bits, 2> fields;
    return InputColumn(model, fields).text(answer);
}

void SingleValueFromCell(const TSingleValueModel& model, TMessageImage& answer, const QString& text,
                         int column)
{
    if (column == 3) {
        if (const std::optional<std::int64_t> raw = model.Value.fromCell(text))
            model.Value.bits.set(answer, *raw);
    } else if (column == 5 && !model.Inputs.empty()) {
        std::array<Bits, 2> fields;
        InputColumn(model, fields).read(answer, text);
    }
}

QString DescribeSingleValueAnswer(const TSingleValueModel& model, const std::uint8_t* message)
{
    const TMessageImage image = ImageOf(message);
    // The inputs print highest-numbered first; unused %c arguments are ignored.
    int digits[2] = {0, 0};
    const std::size_t count = model.Inputs.size();
    for (std::size_t i = 0; i < count; ++i)
        digits[count - 1 - i] = DigitChar(image, model.Inputs[i].Field);
    if (model.Value.decimal())
        return FormatLine(model.InfoFormat, static_cast<double>(model.Value.value(image)), digits[0], digits[1]);
    return FormatLine(model.InfoFormat, model.Value.bits.get(image), digits[0], digits[1]);
}

QString DescribePressureAAnswer(const std::uint8_t* m) { return DescribeSingleValueAnswer(PressureAModel, m); }
QString DescribePressureBAnswer(const std::uint8_t* m) { return DescribeSingleValueAnswer(PressureBModel, m); }
QString DescribeTensionAAnswer(const std::uint8_t* m) { return DescribeSingleValueAnswer(TensionAModel, m); }
QString DescribeTensionBAnswer(const std::uint8_t* m) { return DescribeSingleValueAnswer(TensionBModel, m); }
QString DescribeTensionCAnswer(const std::uint8_t* m) { return DescribeSingleValueAnswer(TensionCModel, m); }
QString DescribeCompressionAnswer(const std::uint8_t* m) { return DescribeSingleValueAnswer(CompressionModel, m); }
QString DescribeWindSpeedAnswer(const std::uint8_t* m) { return DescribeSingleValueAnswer(WindSpeedModel, m); }
QString DescribeFuelLevelAnswer(const std::uint8_t* m) { return DescribeSingleValueAnswer(FuelLevelModel, m); }
QString DescribeTiltAAnswer(const std::uint8_t* m) { return DescribeSingleValueAnswer(TiltAModel, m); }
QString DescribeTiltBAnswer(const std::uint8_t* m) { return DescribeSingleValueAnswer(TiltBModel, m); }
QString DescribeTiltCAnswer(const std::uint8_t* m) { return DescribeSingleValueAnswer(TiltCModel, m); }
QString DescribeTravelCAnswer(const std::uint8_t* m) { return DescribeSingleValueAnswer(TravelCModel, m); }
QString DescribeTravelFAnswer(const std::uint8_t* m) { return DescribeSingleValueAnswer(TravelFModel, m); }
QString DescribeLineProximityAAnswer(const std::uint8_t* m) { return DescribeSingleValueAnswer(LineProximityAModel, m); }
QString DescribeLineProximityCAnswer(const std::uint8_t* m) { return DescribeSingleValueAnswer(LineProximityCModel, m); }
