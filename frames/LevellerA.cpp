#include "frames/LevellerA.h"

#include "frames/shared/BlockFields.h"
#include "frames/shared/BlockLayout.h"
#include "frames/shared/FieldControls.h"
#include "frames/shared/Fields.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"

namespace {
constexpr int LevellerARow = 3;

// Request and answer alike: two unsigned little-endian words in 1/256 degree.
constexpr Num Angle1{{1, 0, 16, 2}, 256, 1.0L / 256};
constexpr Num Angle2{{3, 0, 16, 2}, 256, 1.0L / 256};

struct AngleEdits {
    TEdit* first;
    TEdit* second;
};

void StoreAngles(TMessageImage& image, AngleEdits edits)
{
    StoreEditValue(image, Angle1, edits.first);
    StoreEditValue(image, Angle2, edits.second);
}

void ShowAngles(const TMessageImage& image, AngleEdits edits)
{
    edits.first->SetText(Angle1.text(image));
    edits.second->SetText(Angle2.text(image));
}

QString DescribeAngles(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("ANG1=%.2f, ANG2=%.2f", static_cast<double>(Angle1.value(m)),
                      static_cast<double>(Angle2.value(m)));
}
}

TLevellerAFrame::TLevellerAFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, true)
{
    ANGLabel = AddLabel(OutPanel, "ANGLabel", QStringLiteral("ANG, °:"), 8, 6);
    AddEditField(*this, OutPanel, "ANG1", QStringLiteral("1"), 92, 106, 4, 100, EditUFloat)
        .Into(ANG1Label, ANG1Edit, ANG1UpDown);
    AddEditField(*this, OutPanel, "ANG2", QStringLiteral("2"), 92, 106, 28, 100, EditUFloat)
        .Into(ANG2Label, ANG2Edit, ANG2UpDown);
    OutPanel->SetHeight(56);

    ANGLabel_ = AddLabel(InPanel, "ANGLabel_", QStringLiteral("ANG, °:"), 8, 6);
    AddEditField(*this, InPanel, "ANG1", QStringLiteral("1"), 92, 106, 4, 100, EditUFloat, QStringLiteral("_"))
        .Into(ANG1Label_, ANG1Edit_, ANG1UpDown_);
    AddEditField(*this, InPanel, "ANG2", QStringLiteral("2"), 92, 106, 28, 100, EditUFloat, QStringLiteral("_"))
        .Into(ANG2Label_, ANG2Edit_, ANG2UpDown_);
    InPanel->SetHeight(56);
    FitHeight();
    FillRequestAndAnswerNoGridSlots(this);
}

void TLevellerAFrame::FrameToRequest() { StoreAngles(Info->SchemeObject->Request, {ANG1Edit, ANG2Edit}); }
void TLevellerAFrame::RequestToFrame() { ShowAngles(Info->SchemeObject->Request, {ANG1Edit, ANG2Edit}); }
void TLevellerAFrame::RequestToGrid() { WriteCell(*Info, 2, NoValueText); }
void TLevellerAFrame::FrameToAnswer() { StoreAngles(Info->SchemeObject->Answer, {ANG1Edit_, ANG2Edit_}); }
void TLevellerAFrame::AnswerToFrame() { ShowAngles(Info->SchemeObject->Answer, {ANG1Edit_, ANG2Edit_}); }

void TLevellerAFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, Angle1.text(answer));
    WriteCell(*Info, 4, Angle2.text(answer));
    WriteCell(*Info, 5, NoValueText);
    WriteCell(*Info, 6, NoValueText);
}

void TLevellerAFrame::GridToAnswer(const QString& text, int column)
{
    if (column == 3)
        StoreCellValue(Info->SchemeObject->Answer, Angle1, text);
    else if (column == 4)
        StoreCellValue(Info->SchemeObject->Answer, Angle2, text);
}

TFrame* CreateLevellerAFrame(QWidget* owner, TDeviceInfo* info) { return new TLevellerAFrame(owner, info); }
QString DescribeLevellerARequest(const std::uint8_t* message) { return DescribeAngles(message); }
QString DescribeLevellerAAnswer(const std::uint8_t* message) { return DescribeAngles(message); }

void RegisterLevellerAFrames()
{
    BindRows({LevellerARow}, CreateLevellerAFrame, DescribeLevellerARequest, DescribeLevellerAAnswer);
}
