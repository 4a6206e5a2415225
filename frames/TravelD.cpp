#include "frames/TravelD.h"

#include "frames/shared/FieldControls.h"
#include "frames/shared/Registration.h"
#include "frames/shared/TravelFields.h"
#include "model/Helpers.h"

namespace {
constexpr TTravelCountWord Word{{1, 0, 14, 2}, {1, 14, 2, 2}};
constexpr std::uint32_t FullCount = 0x3FFF;
constexpr std::uint32_t TwelveBitCount = 0x0FFF;

const QStringList OneWireItems = {QStringLiteral("Свободен"), QStringLiteral("Тест - 01"),
                                  QStringLiteral("Тест - 10"), QStringLiteral("Метка")};

constexpr int FieldHeight = 28;
constexpr int EditLeft = 72;
constexpr int EditWidth = 114;
}

TTravelDFrame::TTravelDFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, false)
{
    LLabel = AddLabel(InPanel, "LLabel", QStringLiteral("L, ед.:"), 6, 6);
    LLabel->SetBounds(6, 6, 66, FieldHeight);
    LEdit = AddEdit(InPanel, "LEdit", EditLeft, 6, EditWidth, EditUInt);
    LEdit->SetHeight(FieldHeight);
    LUpDown = AddUpDown(InPanel, "LUpDown", LEdit);
    checkBox12Bit = AddFrameStateBox(InPanel, "checkBox12Bit", QStringLiteral("12 бит"), 200, 12, 100);
    INLabel = AddLabel(InPanel, "INLabel", QStringLiteral("1-Wire"), 6, 42);
    INLabel->SetBounds(6, 42, 66, FieldHeight);
    IN1ComboBox = AddComboBox(InPanel, "IN1ComboBox", OneWireItems, EditLeft, 42, EditWidth);
    InPanel->SetHeight(78);
    FitHeight();
    FillAnswerOnlySlots(this);
}

std::uint32_t TTravelDFrame::countMask() const { return checkBox12Bit->Checked() ? TwelveBitCount : FullCount; }

void TTravelDFrame::FrameToAnswer()
{
    Word.fromFrame(Info->SchemeObject->Answer, LEdit->Text(), IN1ComboBox->ItemIndex(), countMask());
}

// The count is shown in its full 14 bits whatever the check box says.
void TTravelDFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    LEdit->SetText(QString::number(Word.count(answer)));
    IN1ComboBox->SetItemIndex(static_cast<int>(Word.state(answer)));
}

void TTravelDFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, QString::number(Word.count(answer)));
    WriteCell(*Info, 4, NoValueText);
    WriteCell(*Info, 5, QString::number(Word.state(answer)));
    WriteCell(*Info, 6, NoValueText);
}

void TTravelDFrame::GridToAnswer(const QString& text, int column)
{
    Word.fromCell(Info->SchemeObject->Answer, text, column, countMask());
}

TFrame* CreateTravelDFrame(QWidget* owner, TDeviceInfo* info) { return new TTravelDFrame(owner, info); }

QString DescribeTravelDAnswer(const std::uint8_t* message) { return Word.describe(message); }

void RegisterTravelDFrames() { BindRows({68, 69, 70, 71}, CreateTravelDFrame, nullptr, DescribeTravelDAnswer); }
