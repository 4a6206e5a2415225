#include "frames/LevellerB.h"

#include "frames/shared/BlockFields.h"
#include "frames/shared/BlockLayout.h"
#include "frames/shared/FieldControls.h"
#include "frames/shared/Fields.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"

namespace {
constexpr int LevellerBRows[] = {38, 50};

// Request byte 1 and the low byte of the answer word carry the same four flags.
constexpr Bits AutoDisBit{1, 0, 1};
constexpr Bits Out1Bit{1, 1, 1};
constexpr Bits Out2Bit{1, 2, 1};
constexpr Bits CalibrateBit{1, 3, 1};
constexpr Bits FlagPart{1, 0, 4};   // Auto_Dis, OUT1, OUT2, Calibrate
constexpr Bits RequestByte{1, 0, 8};
// The answer's angle: bits 4-15 of the little-endian word, in 1/16 degree.
constexpr Num Angle{{1, 4, 12, 2}, 16, 0.0625L};

// Grid columns 2 and 6 show the outputs only, OUT1 rightmost.
constexpr Bits OutputBits[] = {Out1Bit, Out2Bit};
constexpr DigitColumn OutputColumn{OutputBits, 2, 4};

QString DescribeFlags(const TMessageImage& m)
{
    return FormatLine("OUT2-1=%c%c, Auto_Dis=%c, Calibrate=%c", DigitChar(m, Out2Bit), DigitChar(m, Out1Bit),
                      DigitChar(m, AutoDisBit), DigitChar(m, CalibrateBit));
}
}

TLevellerBFrame::TLevellerBFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, true)
{
    const auto box = [this](QWidget* panel, const char* name, int left, int top) {
        return AddCheckBox(panel, name, QString(), left, top, 17);
    };
    OUTLabel = AddLabel(OutPanel, "OUTLabel", QStringLiteral("OUT:"), 8, 6);
    TakeRow(AddBoxRow(*this, OutPanel, "OUT", QString(), 1, 2, 54, 6), OUT2Label, {&OUT2CheckBox, &OUT1CheckBox},
            OUT1Label);
    Auto_DisLabel = AddLabel(OutPanel, "Auto_DisLabel", QStringLiteral("Auto_Dis"), 190, 6);
    Auto_DisBox = box(OutPanel, "Auto_DisBox", 296, 6);
    CalibrateLabel = AddLabel(OutPanel, "CalibrateLabel", QStringLiteral("Calibrate"), 190, 30);
    CalibrateBox = box(OutPanel, "CalibrateBox", 296, 30);
    OutPanel->SetHeight(54);

    OUTLabel_ = AddLabel(InPanel, "OUTLabel_", QStringLiteral("OUT:"), 8, 6);
    TakeRow(AddBoxRow(*this, InPanel, "OUT", "_", 1, 2, 54, 6), OUT2Label_, {&OUT2CheckBox_, &OUT1CheckBox_},
            OUT1Label_);
    Auto_DisLabel_ = AddLabel(InPanel, "Auto_DisLabel_", QStringLiteral("Auto_Dis"), 190, 6);
    Auto_DisBox_ = box(InPanel, "Auto_DisBox_", 296, 6);
    ANGLabel = AddLabel(InPanel, "ANGLabel", QStringLiteral("ANG:"), 8, 32);
    ANGEdit = AddEdit(InPanel, "ANGEdit", 62, 28, 100, EditUFloat);
    ANGUpDown = AddUpDown(InPanel, "ANGUpDown", ANGEdit);
    CalibrateLabel_ = AddLabel(InPanel, "CalibrateLabel_", QStringLiteral("Calibrate"), 190, 32);
    CalibrateBox_ = box(InPanel, "CalibrateBox_", 296, 32);
    AutoAnswerBox =
        AddFrameStateBox(InPanel, "AutoAnswerBox", QStringLiteral("Автоматическое формирование"), 2, 58, 320);
    InPanel->SetHeight(82);
    FitHeight();
    FillRequestAndAnswerSlots(this);
}

void TLevellerBFrame::GridToRequest(const QString& text, int column)
{
    // Auto_Dis, Calibrate and the unused bits have no digit: a grid edit keeps them.
    if (column == 2)
        OutputColumn.read(Info->SchemeObject->Request, text);
}

void TLevellerBFrame::FrameToRequest()
{
    TMessageImage& request = Info->SchemeObject->Request;
    RequestByte.store(request, 0);
    StoreCheckBoxes(request, FlagPart, {Auto_DisBox, OUT1CheckBox, OUT2CheckBox, CalibrateBox});
}

void TLevellerBFrame::RequestToFrame()
{
    ShowCheckBoxes(Info->SchemeObject->Request, FlagPart, {Auto_DisBox, OUT1CheckBox, OUT2CheckBox, CalibrateBox});
}

void TLevellerBFrame::RequestToGrid() { WriteCell(*Info, 2, OutputColumn.text(Info->SchemeObject->Request)); }

// The answer's flags copied from the request controls. Each box that changes fires its click,
// which (outside a change handler) builds the answer once more from the same boxes.
void TLevellerBFrame::followRequest()
{
    Auto_DisBox_->SetChecked(Auto_DisBox->Checked());
    if (Auto_DisBox->Checked()) {
        OUT2CheckBox_->SetChecked(OUT2CheckBox->Checked());
        OUT1CheckBox_->SetChecked(OUT1CheckBox->Checked());
        CalibrateBox_->SetChecked(false);
    } else {
        CalibrateBox_->SetChecked(CalibrateBox->Checked());
    }
}

void TLevellerBFrame::FrameToAnswer()
{
    if (AutoAnswerBox->Checked())
        followRequest();
    TMessageImage& answer = Info->SchemeObject->Answer;
    // The angle writes the whole word; without a number the angle stays and the flags are
    // rebuilt all the same.
    if (const std::optional<std::int64_t> raw = Angle.fromEdit(ANGEdit->Text()))
        Angle.bits.store(answer, *raw);
    else
        Angle.bits.keepOnly(answer);
    StoreCheckBoxes(answer, FlagPart, {Auto_DisBox_, OUT1CheckBox_, OUT2CheckBox_, CalibrateBox_});
}

void TLevellerBFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    ANGEdit->SetText(Angle.text(answer));
    ShowCheckBoxes(answer, FlagPart, {Auto_DisBox_, OUT1CheckBox_, OUT2CheckBox_, CalibrateBox_});
}

void TLevellerBFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, Angle.text(answer));
    WriteCell(*Info, 4, NoValueText);
    WriteCell(*Info, 5, NoValueText);
    WriteCell(*Info, 6, OutputColumn.text(answer));
}

void TLevellerBFrame::GridToAnswer(const QString& text, int column)
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    if (column == 3) {
        // The flags share the word with the angle and stay.
        SetCellValue(answer, Angle, text);
    } else if (column == 6) {
        OutputColumn.read(answer, text);
    }
}

TFrame* CreateLevellerBFrame(QWidget* owner, TDeviceInfo* info) { return new TLevellerBFrame(owner, info); }

QString DescribeLevellerBRequest(const std::uint8_t* message) { return DescribeFlags(ImageOf(message)); }

QString DescribeLevellerBAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("ANG=%.2f, ", static_cast<double>(Angle.value(m))) + DescribeFlags(m);
}

void RegisterLevellerBFrames()
{
    for (int row : LevellerBRows)
        BindRows({row}, CreateLevellerBFrame, DescribeLevellerBRequest, DescribeLevellerBAnswer);
}
