#include "frames/JoystickB.h"

#include "frames/shared/FieldControls.h"
#include "frames/shared/Fields.h"
#include "frames/shared/Registration.h"
#include "platform/Numbers.h"

namespace {
// Answer body: each axis a 7-bit deflection and a direction bit; byte 3 the buttons, the mode
// and the two axis errors (bits 3 and 4 unused, kept by grid edits).
constexpr Bits AcValue{1, 0, 7};
constexpr Bits AcTowardsA{1, 7, 1};
constexpr Bits BdValue{2, 0, 7};
constexpr Bits BdTowardsB{2, 7, 1};
constexpr Bits FlagsByte{3, 0, 8};
constexpr Bits Button1{3, 0, 1};
constexpr Bits Button2{3, 1, 1};
constexpr Bits Button3{3, 2, 1};
constexpr Bits Dm{3, 5, 1};
constexpr Bits ErrBd{3, 6, 1};
constexpr Bits ErrAc{3, 7, 1};

// Column 5 "D 321" and column 6 "AB" (ErrAC, ErrBD), the rightmost digit first here.
constexpr Bits ButtonColumnFields[] = {Button1, Button2, Button3, Dm};
constexpr Bits ErrorColumnFields[] = {ErrBd, ErrAc};
constexpr DigitColumn ButtonColumn{ButtonColumnFields, 2, 3};
constexpr DigitColumn ErrorColumn{ErrorColumnFields, 2, 0};

constexpr int RowTop = 6;
constexpr int RowHeight = 30;

// A deflection edit writes its byte: the value's 7 bits (kept when the text does not convert,
// the direction cleared all the same), then the direction from its radio button.
void StoreAxis(TMessageImage& answer, const Bits& value, const Bits& direction, const TEdit* edit,
               const TRadioButton* towards)
{
    if (const std::optional<int> typed = StrToInt(edit->Text()))
        value.store(answer, *typed);
    else
        value.keepOnly(answer);
    direction.orIn(answer, towards->Checked() ? 1 : 0);
}

void ShowAxis(const TMessageImage& answer, const Bits& value, const Bits& direction, TEdit* edit,
              TRadioButton* towards, TRadioButton* away)
{
    edit->SetText(QString::number(value.get(answer)));
    (direction.get(answer) ? towards : away)->SetChecked(true);
}
}

TJoystickBFrame::TJoystickBFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, false)
{
    const int row2 = RowTop + RowHeight;
    const int row3 = RowTop + 2 * RowHeight + 28;
    const int row4 = row3 + RowHeight + 8;
    ACLabel = AddLabel(InPanel, QStringLiteral("ACLabel"), QStringLiteral("AC, %:"), 6, RowTop + 2);
    BDLabel = AddLabel(InPanel, QStringLiteral("BDLabel"), QStringLiteral("BD, %:"), 6, row2 + 2);
    ButLabel = AddLabel(InPanel, QStringLiteral("ButLabel"), QStringLiteral("But:"), 6, row3);
    But1Label = AddLabel(InPanel, QStringLiteral("But1Label"), QStringLiteral("1"), 64, row3 - 20);
    But3Label = AddLabel(InPanel, QStringLiteral("But3Label"), QStringLiteral("3"), 112, row3 - 20);
    DMLabel = AddLabel(InPanel, QStringLiteral("DMLabel"), QStringLiteral("DM:"), 176, row3);
    Bevel1 = AddBevel(InPanel, QStringLiteral("Bevel1"), 4, RowTop + 2 * RowHeight, 316, 2);
    Bevel2 = AddBevel(InPanel, QStringLiteral("Bevel2"), 4, row3 + 24, 316, 2);
    But1CheckBox = AddCheckBox(InPanel, QStringLiteral("But1CheckBox"), QString(), 60, row3, 20);
    But2CheckBox = AddCheckBox(InPanel, QStringLiteral("But2CheckBox"), QString(), 84, row3, 20);
    But3CheckBox = AddCheckBox(InPanel, QStringLiteral("But3CheckBox"), QString(), 108, row3, 20);
    ACEdit = AddEdit(InPanel, QStringLiteral("ACEdit"), 80, RowTop, 64, EditUInt);
    ACUpDown = AddUpDown(InPanel, QStringLiteral("ACUpDown"), ACEdit);
    BDEdit = AddEdit(InPanel, QStringLiteral("BDEdit"), 80, row2, 64, EditUInt);
    BDUpDown = AddUpDown(InPanel, QStringLiteral("BDUpDown"), BDEdit);
    ACPanel = AddPanel(InPanel, QStringLiteral("ACPanel"), 152, RowTop - 2, 168, 26);
    CRadioButton = AddRadioButton(ACPanel, QStringLiteral("CRadioButton"), QStringLiteral("< C"), 4, 4, 76);
    ARadioButton = AddRadioButton(ACPanel, QStringLiteral("ARadioButton"), QStringLiteral("A >"), 86, 4, 76);
    BDPanel = AddPanel(InPanel, QStringLiteral("BDPanel"), 152, row2 - 2, 168, 26);
    DRadioButton = AddRadioButton(BDPanel, QStringLiteral("DRadioButton"), QStringLiteral("D"), 4, 4, 76);
    BRadioButton = AddRadioButton(BDPanel, QStringLiteral("BRadioButton"), QStringLiteral("B"), 86, 4, 76);
    ErrACCheckBox = AddCheckBox(InPanel, QStringLiteral("ErrACCheckBox"), QStringLiteral("ErrAC"), 8, row4, 100);
    ErrBDCheckBox = AddCheckBox(InPanel, QStringLiteral("ErrBDCheckBox"), QStringLiteral("ErrBD"), 120, row4, 100);
    DMCheckBox = AddCheckBox(InPanel, QStringLiteral("DMCheckBox"), QString(), 216, row3, 20);
    // A direction is always shown: towards C and D until an answer says otherwise.
    CRadioButton->SetChecked(true);
    DRadioButton->SetChecked(true);
    InPanel->SetHeight(row4 + 26);
    FitHeight();
    FillAnswerOnlySlots(this);
}

void TJoystickBFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    StoreAxis(answer, AcValue, AcTowardsA, ACEdit, ARadioButton);
    StoreAxis(answer, BdValue, BdTowardsB, BDEdit, BRadioButton);
    FlagsByte.store(answer, 0);
    // clang-format off
    const std::pair<const TCheckBox*, Bits> flags[] = {{But1CheckBox, Button1}, {But2CheckBox, Button2},
                                                       {But3CheckBox, Button3}, {DMCheckBox, Dm},
                                                       {ErrBDCheckBox, ErrBd},  {ErrACCheckBox, ErrAc}};
    // clang-format on
    for (const auto& [box, bit] : flags)
        bit.orIn(answer, box->Checked() ? 1 : 0);
}

void TJoystickBFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    ShowAxis(answer, AcValue, AcTowardsA, ACEdit, ARadioButton, CRadioButton);
    ShowAxis(answer, BdValue, BdTowardsB, BDEdit, BRadioButton, DRadioButton);
    // clang-format off
    const std::pair<TCheckBox*, Bits> flags[] = {{But1CheckBox, Button1}, {But2CheckBox, Button2},
                                                 {But3CheckBox, Button3}, {DMCheckBox, Dm},
                                                 {ErrBDCheckBox, ErrBd},  {ErrACCheckBox, ErrAc}};
    // clang-format on
    for (const auto& [box, bit] : flags)
        box->SetChecked(bit.get(answer) != 0);
}

void TJoystickBFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, QString::number(AcValue.get(answer)));
    WriteCell(*Info, 4, QString::number(BdValue.get(answer)));
    WriteCell(*Info, 5, ButtonColumn.text(answer));
    WriteCell(*Info, 6, ErrorColumn.text(answer));
}

void TJoystickBFrame::GridToAnswer(const QString& text, int column)
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    switch (column) {
    case 3:
    case 4: {
        // The deflection only: the direction bit stays.
        const Num deflection{column == 3 ? AcValue : BdValue};
        if (const std::optional<std::int64_t> raw = deflection.fromCell(text))
            deflection.bits.set(answer, *raw);
        break;
    }
    case 5:
        ButtonColumn.read(answer, text);
        break;
    case 6:
        ErrorColumn.read(answer, text);
        break;
    default:
        break;
    }
}

TFrame* CreateJoystickBFrame(QWidget* owner, TDeviceInfo* info) { return new TJoystickBFrame(owner, info); }

QString DescribeJoystickBAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("AC=%u (%c), BD=%u (%c), DM=%c But3-1=%c%c%c, ErrAC=%c, ErrBD=%c", AcValue.get(m),
                      AcTowardsA.get(m) ? 'A' : 'C', BdValue.get(m), BdTowardsB.get(m) ? 'B' : 'D', DigitChar(m, Dm),
                      DigitChar(m, Button3), DigitChar(m, Button2), DigitChar(m, Button1), DigitChar(m, ErrAc),
                      DigitChar(m, ErrBd));
}

void RegisterJoystickBFrames()
{
    BindRows({54, 55, 56, 57}, CreateJoystickBFrame, nullptr, DescribeJoystickBAnswer);
}
