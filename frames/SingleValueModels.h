#pragma once
// The answer-only sensors whose 16-bit answer word carries one measured value and at most two
// input states, as data: the value field and its scale, the input fields at the top of the word,
// the control names and captions of each frame, and the info line of the line monitor.
#include <QString>
#include <array>
#include <cstdint>
#include <span>

#include "frames/shared/Fields.h"

enum class TInputKind {
    None,
    OneBit,   // word bit 15, a two-item combo; digit '1'/'0', radix 2
    TwoBit,   // a code 0..3, the three input items; digit '0'..'3', radix 3
};

// One input row of a frame: "IN:" label (first row only), number label and combo box.
struct TInputRow {
    Bits Field;
    const char* NumberLabelName;   // "IN1Label"
    const char* NumberCaption;     // "1"
    const char* ComboName;         // "IN1ComboBox"
};

struct TSingleValueModel {
    const char* FrameClass;   // "TTiltAFrame"
    Num Value;                // bits from 0 of the answer word (bytes 1-2)
    TInputKind InputKind;
    std::span<const TInputRow> Inputs;   // lowest-numbered field first
    const QStringList* Items;            // the items of every input combo
    const char* InfoFormat;              // value first, then the inputs highest-numbered first

    const char* ValueLabelName;
    const char* ValueLabelCaption;
    const char* ValueEditName;
    int ValueEditTag;   // 0 unsigned integer, 2 unsigned decimal
    const char* UpDownName;
    const char* BevelName;   // none without input rows

    int DigitRadix() const { return InputKind == TInputKind::OneBit ? 2 : 3; }
};

// The answer word W: bytes 1 and 2 of the answer, little-endian.
inline constexpr Bits AnswerWord{1, 0, 16, 2};

extern const TSingleValueModel PressureAModel, PressureBModel, TensionAModel, TensionBModel,
    TensionCModel, CompressionModel, WindSpeedModel, FuelLevelModel, TiltAModel, TiltBModel,
    TiltCModel, TravelCModel, TravelFModel, LineProximityAModel, LineProximityCModel;

// All fifteen, in the order of their decoders below.
extern const std::array<const TSingleValueModel*, 15> SingleValueModels;

// The value and inputs of a model's answer into a word, as the frame builds it: the value field
// from its text (or kept when the text does not convert), every bit above it cleared, then the
// input fields from their combo indexes (lowest-numbered first).
void SingleValueFromFrame(const TSingleValueModel& model, TMessageImage& answer,
                          const QString& valueText, std::span<const int> itemIndexes);
// The combo index that shows an input field's code.
int SingleValueItem(const TSingleValueModel& model, const TMessageImage& answer, std::size_t input);
// Grid column 5's text: the input digits, or NoValueText without input fields.
QString SingleValueInputText(const TSingleValueModel& model, const TMessageImage& answer);
// One edited grid cell into the word: column 3 the value (other bits stay), column 5 the inputs;
// other columns, and a column-3 text that does not convert, change nothing.
void SingleValueFromCell(const TSingleValueModel& model, TMessageImage& answer, const QString& text,
                         int column);

QString DescribeSingleValueAnswer(const TSingleValueModel& model, const std::uint8_t* message);

QString DescribePressureAAnswer(const std::uint8_t* message);
QString DescribePressureBAnswer(const std::uint8_t* message);
QString DescribeTensionAAnswer(const std::uint8_t* message);
QString DescribeTensionBAnswer(const std::uint8_t* message);
QString DescribeTensionCAnswer(const std::uint8_t* message);
QString DescribeCompressionAnswer(const std::uint8_t* message);
QString DescribeWindSpeedAnswer(const std::uint8_t* message);
QString DescribeFuelLevelAnswer(const std::uint8_t* message);
QString DescribeTiltAAnswer(const std::uint8_t* message);
QString DescribeTiltBAnswer(const std::uint8_t* message);
QString DescribeTiltCAnswer(const std::uint8_t* message);
QString DescribeTravelCAnswer(const std::uint8_t* message);
QString DescribeTravelFAnswer(const std::uint8_t* message);
QString DescribeLineProximityAAnswer(const std::uint8_t* message);
QString DescribeLineProximityCAnswer(const std::uint8_t* message);
