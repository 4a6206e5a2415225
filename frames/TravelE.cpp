#include "frames/TravelE.h"

#include "frames/shared/FieldControls.h"
#include "frames/shared/Registration.h"
#include "frames/shared/TravelFields.h"
#include "model/Helpers.h"

namespace {
constexpr TTravelCountWord Word{{1, 0, 15, 2}, {1, 15, 1, 2}};
constexpr std::uint32_t FullCount = 0x7FFF;

const QStringList MarkItems = {QStringLiteral("Свободен"), QStringLiteral("Метка")};

constexpr int FieldHeight = 28;
constexpr int EditLeft = 72;
constexpr int EditWidth = 114;
}

TTravelEFrame::TTravelEFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, false)
{
    LLabel = AddLabel(InPanel, "LLabel", QStringLiteral("L, ед.:"), 6, 6);
    LLabel->SetBounds(6, 6, 66, FieldHeight);
    LEdit = AddEdit(InPanel, "LEdit", EditLeft, 6, EditWidth, EditUInt);
    LEdit->SetHeight(FieldHeight);
    LUpDown = AddUpDown(InPanel, "LUpDown", LEdit);
    INLabel = AddLabel(InPanel, "INLabel", QStringLiteral("1-Wire"), 6, 42);
    INLabel->SetBounds(6, 42, 66, FieldHeight);
    IN1ComboBox = AddComboBox(InPanel, "IN1ComboBox", MarkItems, EditLeft, 42, EditWidth);
    InPanel->SetHeight(78);
    FitHeight();
    FillAnswerOnlySlots(this);
}

void TTravelEFrame::FrameToAnswer()
{
    Word.fromFrame(Info->SchemeObject->Answer, LEdit->Text(), IN1ComboBox->ItemIndex(), FullCount);
}

void TTravelEFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    LEdit->SetText(QString::number(Word.count(answer)));
    IN1ComboBox->SetItemIndex(static_cast<int>(Word.state(answer)));
}

void TTravelEFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, QString::number(Word.count(answer)));
    WriteCell(*Info, 4, NoValueText);
    WriteCell(*Info, 5, QString::number(Word.state(answer)));
    WriteCell(*Info, 6, NoValueText);
}

void TTravelEFrame::GridToAnswer(const QString& text, int column)
{
    Word.fromCell(Info->SchemeObject->Answer, text, column, FullCount);
}

TFrame* CreateTravelEFrame(QWidget* owner, TDeviceInfo* info) { return new TTravelEFrame(owner, info); }

QString DescribeTravelEAnswer(const std::uint8_t* message) { return Word.describe(message); }

void RegisterTravelEFrames() { BindRows({72, 73, 74, 75}, CreateTravelEFrame, nullptr, DescribeTravelEAnswer); }
