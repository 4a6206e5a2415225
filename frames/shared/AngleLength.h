#pragma once
// What the angle-and-length sensors and the azimuth sensors share: one answer-only column of an
// angle row, a second value row (a length or a temperature), a bevel and one or two input rows,
// driven by a table of the model's rules; values that wrap into their range with the edit
// rewritten to the wrapped value; the pair of input codes that rides in the top half of the
// length word's high byte; and whole degrees in sign and magnitude.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "frames/shared/FieldControls.h"
#include "frames/shared/Fields.h"
#include "frames/shared/FrameBase.h"
#include "platform/Numbers.h"

// The second row and the inputs of one model; the angle row is the same in all.
struct TAngleValueLayout {
    const char* SecondLabelName;
    const char* SecondCaption;
    const char* SecondEditName;
    const char* SecondUpDownName;
    int AngleTag;
    int SecondTag;
    int AngleUpDownMin;
    const QStringList* Items;
    int Inputs;   // 1 or 2
};

constexpr TAngleValueLayout LengthRowLayout(int angleTag, int lengthTag, const QStringList* items, int inputs)
{
    return {"LENLabel", "LEN, м:", "LENEdit", "LENUpDown", angleTag, lengthTag, 0, items, inputs};
}
constexpr TAngleValueLayout TemperatureRowLayout(int angleTag, int angleUpDownMin, const QStringList* items)
{
    return {"T1Label", "T, °C:", "T1Edit", "T1UpDown", angleTag, EditSInt, angleUpDownMin, items, 1};
}

// How one model's rows meet its answer. The frame writes its edits and combos in the order
// angle, second value, inputs, so that a rule may clear bits that a later one sets again.
struct TAngleValueRules {
    QString (*angleText)(const TMessageImage&);
    QString (*secondText)(const TMessageImage&);
    QString (*inputsText)(const TMessageImage&);    // grid column 5
    int (*item)(const TMessageImage&, int input);   // the item shown by the combo of input 0 or 1
    void (*storeAngle)(TMessageImage&, TEdit&);
    void (*storeSecond)(TMessageImage&, TEdit&);
    void (*storeInputs)(TMessageImage&, int item1, int item2);
    void (*readAngle)(TMessageImage&, const QString&);   // grid columns 3, 4 and 5
    void (*readSecond)(TMessageImage&, const QString&);
    void (*readInputs)(TMessageImage&, const QString&);
};

class TAngleValueFrame : public TFrameBase {
public:
    TAngleValueFrame(QWidget* owner, TDeviceInfo* info, const TAngleValueLayout& layout, const TAngleValueRules& rules);

    TLabel* ANGLabel;
    TEdit* ANGEdit;
    TUpDown* ANGUpDown;
    TLabel* SecondLabel;
    TEdit* SecondEdit;
    TUpDown* SecondUpDown;
    TBevel* Bevel1;
    TLabel* INLabel;
    TLabel* IN1Label;
    TComboBox* IN1ComboBox;
    TLabel* IN2Label = nullptr;   // none with one input
    TComboBox* IN2ComboBox = nullptr;

    void GridToAnswer(const QString& text, int column);
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();

private:
    const TAngleValueRules& ModelRules;
    TMessageImage& Answer() const { return Info->SchemeObject->Answer; }
};

// The frames whose second row holds a length, and those whose second row holds a temperature.
class TAngleLengthFrame : public TAngleValueFrame {
public:
    using TAngleValueFrame::TAngleValueFrame;
    TLabel* const LENLabel = SecondLabel;
    TEdit* const LENEdit = SecondEdit;
    TUpDown* const LENUpDown = SecondUpDown;
};

class TAzimuthFrame : public TAngleValueFrame {
public:
    using TAngleValueFrame::TAngleValueFrame;
    TLabel* const T1Label = SecondLabel;
    TEdit* const T1Edit = SecondEdit;
    TUpDown* const T1UpDown = SecondUpDown;
};

// A scaled field as the rules' text, and its grid cell rounded half away from zero with the
// group's other bits kept.
template <const Num& N> QString NumText(const TMessageImage& answer) { return N.text(answer); }
template <const Num& N> void ReadNumCell(TMessageImage& answer, const QString& text)
{
    if (const std::optional<std::int64_t> raw = N.fromCell(text))
        N.bits.set(answer, *raw);
}

// One input bit shown by a two-item combo, in which any item but the first sets the bit.
template <Bits In1> struct GroundInputRules {
    static QString text(const TMessageImage& answer) { return QString::number(In1.get(answer)); }
    static int item(const TMessageImage& answer, int) { return static_cast<int>(In1.get(answer)); }
    static void store(TMessageImage& answer, int item1, int) { In1.set(answer, TwoItemBit(item1)); }
    static void read(TMessageImage& answer, const QString& text)
    {
        static constexpr Bits fields[] = {In1};
        DigitColumn{fields, 2, 0}.read(answer, text);
    }
};

// ---------------------------------------------------------------------------------------------
// Two input codes in byte 4 above a 12-bit length: IN1 in bits 6-7, IN2 in bits 4-5, each 0
// "Свободен", 1 "+24 В", 2 "Масса"; code 3 has no item.

inline constexpr Bits LengthWord{3, 0, 16, 2};
inline constexpr Bits Length12{3, 0, 12, 2};
inline constexpr Bits LengthIn1{4, 6, 2};
inline constexpr Bits LengthIn2{4, 4, 2};

// The 12-bit length from its edit: wrapped into [0, range) with the edit rewritten, scaled and
// written with the whole word, so that both input codes start at 0. A text that does not
// convert clears only the inputs.
void StoreLength12Edit(TMessageImage& answer, TEdit& edit, double range, long double scale, Round rounding);
// The selected items OR-ed into the cleared input bits; no selection adds nothing.
void OrLengthInputs(TMessageImage& answer, int item1, int item2);
int LengthInputItem(const TMessageImage& answer, int input);
// Grid column 5 and the info line: IN2's digit, then IN1's.
QString LengthInputsText(const TMessageImage& answer);
// Grid column 5 read with radix 3: both codes cleared, the rightmost digit to IN1, the next to IN2.
void ReadLengthInputsCell(TMessageImage& answer, const QString& text);

// A length of whole units: wrapped into [0, 4096), cut toward zero; its cell is rounded half
// away from zero, bits 12-15 kept.
void StoreCountLength(TMessageImage& answer, TEdit& edit);
void ReadCountLengthCell(TMessageImage& answer, const QString& text);
inline QString CountLengthText(const TMessageImage& answer) { return QString::number(Length12.get(answer)); }
// The frames of an angle over such a length and two input codes: only the angle is their own.
inline constexpr TAngleValueLayout CountLengthLayout = LengthRowLayout(EditUFloat, EditSInt, &InputItems, 2);
constexpr TAngleValueRules CountLengthRules(QString (*angleText)(const TMessageImage&),
                                            void (*storeAngle)(TMessageImage&, TEdit&),
                                            void (*readAngle)(TMessageImage&, const QString&))
{
    return {angleText, CountLengthText, LengthInputsText, LengthInputItem, storeAngle,
            StoreCountLength, OrLengthInputs, readAngle, ReadCountLengthCell, ReadLengthInputsCell};
}
// The info line of an angle over a whole-unit length and two input codes.
QString DescribeCountLength(const TMessageImage& message, long double angle);

// ---------------------------------------------------------------------------------------------
// Whole degrees and a temperature, each in sign and magnitude: the angle's magnitude in byte 1
// with its sign in byte 2 bit 7, the temperature's magnitude in byte 3 bits 0-6 with its sign in
// bit 7. The other bits of byte 2 belong to the input.

int SignedAngle(const TMessageImage& answer);
int SignedTemperature(const TMessageImage& answer);
QString WholeAngleText(const TMessageImage& answer);
QString WholeTemperatureText(const TMessageImage& answer);
// The angle wrapped into [-180, 180) with the edit rewritten; the temperature as typed. A text
// that does not convert changes nothing.
void StoreWholeAngleEdit(TMessageImage& answer, TEdit& edit);
void StoreWholeTemperatureEdit(TMessageImage& answer, TEdit& edit);
// Grid columns 3 (the angle, not wrapped: any magnitude up to 255 fits) and 4, rounded half
// away from zero; texts that do not convert change nothing.
void ReadWholeAngleCell(TMessageImage& answer, const QString& text);
void ReadWholeTemperatureCell(TMessageImage& answer, const QString& text);
// The info line of whole degrees and one input field.
QString DescribeWholeDegrees(const TMessageImage& message, const Bits& in1);
// The frames of whole degrees: only the input is their own, given as the static rules of `Input`
// (text, item, store, read as in GroundInputRules).
template <class Input> constexpr TAngleValueRules WholeDegreeRules()
{
    return {WholeAngleText, WholeTemperatureText, Input::text, Input::item, StoreWholeAngleEdit,
            StoreWholeTemperatureEdit, Input::store, ReadWholeAngleCell, ReadWholeTemperatureCell, Input::read};
}
