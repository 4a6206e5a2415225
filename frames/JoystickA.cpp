#include "frames/JoystickA.h"

#include <optional>

#include "frames/shared/BlockFields.h"
#include "frames/shared/BlockLayout.h"
#include "frames/shared/FieldControls.h"
#include "frames/shared/Fields.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"

const QStringList JoystickLimitItems = {QStringLiteral("Запр."), QStringLiteral("1/3"), QStringLiteral("2/3"),
                                        QStringLiteral("Не огр.")};

namespace {
// Request byte 1: K1, K2, K3, F from bit 0 up; bits 4-7 unused. Request byte 2: the limit codes
// of SA, SB, SC, SD from bit 0 up. Answer byte: K1, K2, K3 in bits 0-2, bit 3 unused, YA, YB,
// YC, YD in bits 4-7.
constexpr std::array<Bits, 8> Byte1 = ByteFields(1);
constexpr Bits KBits{1, 0, 3};
constexpr Bits FBit = Byte1[3];
constexpr Bits LimitFields[] = {{2, 0, 2}, {2, 2, 2}, {2, 4, 2}, {2, 6, 2}};
constexpr Bits YBits{1, 4, 4};
constexpr DigitColumn RequestFlagColumn{std::span(Byte1).first<4>(), 2, 0};    // F, K3, K2, K1
constexpr DigitColumn AnswerKColumn{std::span(Byte1).first<3>(), 2, 0};        // K3, K2, K1
constexpr DigitColumn AnswerYColumn{std::span(Byte1).subspan<4, 4>(), 2, 0};   // YD, YC, YB, YA

constexpr int ComboWidth = 86;   // room for "Не огр."
constexpr int KRowLeft = 150;

// A combo shows no selection only while the request side is cleared or not yet shown. A request
// built then keeps the field's stored code, as an edit that holds no number keeps its bits,
// instead of sending a code nobody chose (or spilling -1 over the other directions' bits).
std::optional<int> Chosen(const TComboBox* combo)
{
    const int index = combo->ItemIndex();
    return index < 0 ? std::nullopt : std::optional<int>(index);
}
}

TJoystickAFrame::TJoystickAFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, true)
{
    // Request side: F and the K flags, then the limits as a cross of the four directions.
    FLabel = AddLabel(OutPanel, "FLabel", "F:", 6, 8);
    FComboBox = AddComboBox(OutPanel, "FComboBox", {"0", "1"}, 30, 5, 50);
    KLabel = AddLabel(OutPanel, "KLabel", "K:", KRowLeft - 26, 8);
    TakeRow(AddBoxRow(*this, OutPanel, "K", QString(), 1, 3, KRowLeft, 8), K3Label,
            {&K3CheckBox, &K2CheckBox, &K1CheckBox}, K1Label);
    Bevel1 = AddBevel(OutPanel, "Bevel1", 6, 34, FrameWidth - 12, 2);
    SDLabel = AddLabel(OutPanel, "SDLabel", "SD", 148, 40);
    SDComboBox = AddComboBox(OutPanel, "SDComboBox", JoystickLimitItems, 116, 60, ComboWidth);
    SCLabel = AddLabel(OutPanel, "SCLabel", "< SC", 6, 90);
    SCComboBox = AddComboBox(OutPanel, "SCComboBox", JoystickLimitItems, 50, 87, ComboWidth);
    SALabel = AddLabel(OutPanel, "SALabel", "SA >", 272, 90);
    SAComboBox = AddComboBox(OutPanel, "SAComboBox", JoystickLimitItems, 182, 87, ComboWidth);
    SBComboBox = AddComboBox(OutPanel, "SBComboBox", JoystickLimitItems, 116, 114, ComboWidth);
    SBLabel = AddLabel(OutPanel, "SBLabel", "SB", 148, 138);
    OutPanel->SetHeight(162);

    // Answer side: the buttons, then the direction flags as the same cross.
    KLabel_ = AddLabel(InPanel, "KLabel_", "K:", KRowLeft - 26, 8);
    TakeRow(AddBoxRow(*this, InPanel, "K", "_", 1, 3, KRowLeft, 8), K3Label_,
            {&K3CheckBox_, &K2CheckBox_, &K1CheckBox_}, K1Label_);
    Bevel2 = AddBevel(InPanel, "Bevel2", 6, 34, FrameWidth - 12, 2);
    YDLabel_ = AddLabel(InPanel, "YDLabel_", "YD", 152, 40);
    YDCheckBox_ = AddCheckBox(InPanel, "YDCheckBox_", QString(), 158, 62, 17);
    YCLabel_ = AddLabel(InPanel, "YCLabel_", "< YC", 84, 84);
    YCCheckBox_ = AddCheckBox(InPanel, "YCCheckBox_", QString(), 128, 86, 17);
    YACheckBox_ = AddCheckBox(InPanel, "YACheckBox_", QString(), 188, 86, 17);
    YALabel_ = AddLabel(InPanel, "YALabel_", "YA >", 208, 84);
    YBCheckBox_ = AddCheckBox(InPanel, "YBCheckBox_", QString(), 158, 110, 17);
    YBLabel_ = AddLabel(InPanel, "YBLabel_", "YB", 152, 130);
    InPanel->SetHeight(156);

    FitHeight();
    FillRequestAndAnswerSlots(this);
}

void TJoystickAFrame::FrameToRequest()
{
    TMessageImage& request = Info->SchemeObject->Request;
    const std::optional<int> f = Chosen(FComboBox);
    FBit.store(request, f ? TwoItemBit(*f) : FBit.get(request));   // bits 4-7 go out as 0
    StoreCheckBoxes(request, KBits, {K1CheckBox, K2CheckBox, K3CheckBox});
    const std::array<TComboBox*, 4> combos = limitCombos();
    for (std::size_t i = 0; i < combos.size(); ++i)
        if (const std::optional<int> code = Chosen(combos[i]))
            LimitFields[i].set(request, *code);
}

void TJoystickAFrame::RequestToFrame()
{
    const TMessageImage& request = Info->SchemeObject->Request;
    FComboBox->SetItemIndex(static_cast<int>(FBit.get(request)));
    ShowCheckBoxes(request, KBits, {K1CheckBox, K2CheckBox, K3CheckBox});
    const std::array<TComboBox*, 4> combos = limitCombos();
    for (std::size_t i = 0; i < combos.size(); ++i)
        combos[i]->SetItemIndex(static_cast<int>(LimitFields[i].get(request)));
}

void TJoystickAFrame::RequestToGrid() { WriteCell(*Info, 2, RequestFlagColumn.text(Info->SchemeObject->Request)); }

void TJoystickAFrame::GridToRequest(const QString& text, int column)
{
    if (column == 2)
        RequestFlagColumn.read(Info->SchemeObject->Request, text);
}

void TJoystickAFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    Bits{1, 0, 8}.store(answer, 0);   // the unused bit 3 goes out as 0
    StoreCheckBoxes(answer, KBits, {K1CheckBox_, K2CheckBox_, K3CheckBox_});
    StoreCheckBoxes(answer, YBits, {YACheckBox_, YBCheckBox_, YCCheckBox_, YDCheckBox_});
}

void TJoystickAFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    ShowCheckBoxes(answer, KBits, {K1CheckBox_, K2CheckBox_, K3CheckBox_});
    ShowCheckBoxes(answer, YBits, {YACheckBox_, YBCheckBox_, YCCheckBox_, YDCheckBox_});
}

void TJoystickAFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, NoValueText);
    WriteCell(*Info, 4, NoValueText);
    WriteCell(*Info, 5, AnswerKColumn.text(answer));
    WriteCell(*Info, 6, AnswerYColumn.text(answer));
}

void TJoystickAFrame::GridToAnswer(const QString& text, int column)
{
    if (column == 5)
        AnswerKColumn.read(Info->SchemeObject->Answer, text);
    else if (column == 6)
        AnswerYColumn.read(Info->SchemeObject->Answer, text);
}

TFrame* CreateJoystickAFrame(QWidget* owner, TDeviceInfo* info) { return new TJoystickAFrame(owner, info); }

QString DescribeJoystickARequest(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("F=%c, K3-1=%c%c%c, SA=%c, SB=%c, SC=%c, SD=%c", DigitChar(m, FBit),
                      DigitChar(m, Byte1[2]), DigitChar(m, Byte1[1]),
                      DigitChar(m, Byte1[0]), DigitChar(m, LimitFields[0]), DigitChar(m, LimitFields[1]),
                      DigitChar(m, LimitFields[2]), DigitChar(m, LimitFields[3]));
}

QString DescribeJoystickAAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("K3-1=%c%c%c, YA=%c, YB=%c, YC=%c, YD=%c", DigitChar(m, Byte1[2]),
                      DigitChar(m, Byte1[1]), DigitChar(m, Byte1[0]), DigitChar(m, Byte1[4]),
                      DigitChar(m, Byte1[5]), DigitChar(m, Byte1[6]), DigitChar(m, Byte1[7]));
}

void RegisterJoystickAFrames()
{
    BindRows({30, 31}, CreateJoystickAFrame, DescribeJoystickARequest, DescribeJoystickAAnswer);
}
