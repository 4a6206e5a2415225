#pragma once
// What the angle-and-length sensors and the azimuth sensors share: one answer-only column of an
// angle row, a second value row (a length or a temperature), a bevel and one or two input rows;
// values that wrap into their range with the edit rewritten to the wrapped value; and the pair
// of input codes that rides in the top half of the length word's high byte.
#include "frames/Fields.h"
#include "frames/FrameBase.h"
#include "platform/Numbers.h"

#include <QString>
#include <QStringList>
#include <optional>

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

class TAngleValueFrame : public TFrameBase {
public:
    TAngleValueFrame(QWidget* owner, TDeviceInfo* info, const TAngleValueLayout& layout);

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
    TLabel* IN2Label = nullptr;      // none with one input
    TComboBox* IN2ComboBox = nullptr;

protected:
    TMessageImage& Answer() const { return Info->SchemeObject->Answer; }
    int Item1() const { return IN1ComboBox->ItemIndex(); }
    int Item2() const { return IN2ComboBox ? IN2ComboBox->ItemIndex() : -1; }
    // The same texts go to the edits and to the grid cells; column 6 is unused by all.
    void ShowInFrame(const QString& angle, const QString& second, int item1, int item2 = -1);
    void ShowInGrid(const QString& angle, const QString& second, const QString& inputs);
};


// The value brought into [low, high) through WrapValue. When it had to move, the edit is
// rewritten with `show` of the moved value before the caller scales it, so that the edit says
// what is sent and reads back to the same value on the next pass.
long double WrapIntoEdit(TEdit& edit, long double value, double low, double high, QString (*show)(long double));

// The edit's number wrapped into [low, high) with the edit rewritten in the general form; none
// when the text does not convert.
std::optional<long double> ReadWrappedGeneral(TEdit& edit, double low, double high);

// ---------------------------------------------------------------------------------------------
// Two input codes in byte 4 above a 12-bit length: IN1 in bits 6-7, IN2 in bits 4-5, each 0
// "Свободен", 1 "+24 В", 2 "Масса"; code 3 has no item.

inline constexpr Bits LengthWord{3, 0, 16, 2};
inline constexpr Bits Length12{3, 0, 12, 2};
inline constexpr Bits LengthInputBits{4, 4, 4};
inline constexpr Bits LengthIn1{4, 6, 2};
inline constexpr Bits LengthIn2{4, 4, 2};

// The 12-bit length written with the whole word, so that both input codes start at 0.
void StoreLength12(TMessageImage& answer, std::int64_t raw);
// A length text that does not convert: the inputs are cleared, the length kept.
inline void ClearLengthInputs(TMessageImage& answer) { LengthInputBits.clear(answer); }
// The selected items OR-ed into the cleared input bits; no selection adds nothing.
void OrLengthInputs(TMessageImage& answer, int item1, int item2);
// Grid column 5 and the info line: IN2's digit, then IN1's.
QString LengthInputsText(const TMessageImage& answer);
// Grid column 5 read with radix 3: both codes cleared, the rightmost digit to IN1, the next to IN2.
void ReadLengthInputsCell(TMessageImage& answer, const QString& text);

// A length of whole units: wrapped into [0, 4096) with the edit rewritten, cut toward zero and
// stored with the inputs cleared; a text that does not convert clears only the inputs.
void StoreCountLength(TMessageImage& answer, TEdit& edit);
// The length cell of such a length: rounded half away from zero, bits 12-15 kept.
void ReadCountLengthCell(TMessageImage& answer, const QString& text);
inline QString CountLengthText(const TMessageImage& answer) { return QString::number(Length12.get(answer)); }


// ---------------------------------------------------------------------------------------------
// Whole degrees and a temperature, each in sign and magnitude: the angle's magnitude in byte 1
// with its sign in byte 2 bit 7, the temperature's magnitude in byte 3 bits 0-6 with its sign in
// bit 7. The other bits of byte 2 belong to the input.

int SignedAngle(const TMessageImage& answer);
int SignedTemperature(const TMessageImage& answer);
// The frame's angle (wrapped into [-180, 180) with the edit rewritten) and temperature, each in
// its own guard: a text that does not convert changes nothing.
void StoreWholeDegreeEdits(TMessageImage& answer, TEdit& angle, const TEdit& temperature);
// Grid columns 3 (angle, not wrapped: any magnitude up to 255 fits) and 4 (temperature), rounded
// half away from zero; other columns and texts that do not convert change nothing.
void ReadWholeDegreeCell(TMessageImage& answer, const QString& text, int column);
