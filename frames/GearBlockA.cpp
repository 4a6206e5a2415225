#include "frames/GearBlockA.h"

#include "frames/shared/FieldControls.h"
#include "frames/shared/Registration.h"
#include "model/Helpers.h"

namespace {
constexpr int GearBlockARow = 1;

// One byte each; the two fine pressures in 0.01 MPa, P9 in 0.1 MPa.
constexpr Num T7{{1, 0, 8}};
constexpr Num P13{{2, 0, 8}, 100.0L, 0.01L};
constexpr Num P8{{3, 0, 8}, 100.0L, 0.01L};
constexpr Num P9{{4, 0, 8}, 10.0L, 0.1L};
constexpr Num L4{{5, 0, 8}};

constexpr int FieldHeight = 28;
constexpr int RowPitch = 36;
constexpr int NumberLeft = 90;
constexpr int EditLeft = 132;
constexpr int EditWidth = 114;

void StoreEdit(TMessageImage& answer, const Num& field, const TEdit* edit)
{
    if (const std::optional<std::int64_t> raw = field.fromEdit(edit->Text()))
        field.bits.store(answer, *raw);
}
}

TGearBlockAFrame::TGearBlockAFrame(QWidget* owner, TDeviceInfo* info) : TFrameBase(owner, info, false)
{
    const auto label = [this](const char* name, const char* caption, int left, int top, int width) {
        TLabel* l = AddLabel(InPanel, name, QString::fromUtf8(caption), left, top);
        l->SetBounds(left, top, width, FieldHeight);
        return l;
    };
    const auto number = [&label](const char* name, const char* caption, int top) {
        TLabel* l = label(name, caption, NumberLeft, top, 36);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    const auto edit = [this](const char* name, int top, int kind) {
        TEdit* e = AddEdit(InPanel, name, EditLeft, top, EditWidth, kind);
        e->SetHeight(FieldHeight);
        return e;
    };
    int top = 6;
    TTLabel = label("TTLabel", "T, °C:", 6, top, 84);
    T7Label = number("T7Label", "7", top);
    T7Edit = edit("T7Edit", top, EditUInt);
    T7UpDown = AddUpDown(InPanel, "T7UpDown", T7Edit);
    top += RowPitch;
    Bevel1 = AddBevel(InPanel, "Bevel1", 6, top, 312, 3, TBevelShape::BottomLine);
    top += 6;
    PLabel = label("PLabel", "P, МПа:", 6, top, 84);
    P8Label = number("P8Label", "8", top);
    P8Edit = edit("P8Edit", top, EditUFloat);
    P8UpDown = AddUpDown(InPanel, "P8UpDown", P8Edit);
    top += RowPitch;
    P9Label = number("P9Label", "9", top);
    P9Edit = edit("P9Edit", top, EditUFloat);
    P9UpDown = AddUpDown(InPanel, "P9UpDown", P9Edit);
    top += RowPitch;
    P13Label = number("P13Label", "13", top);
    P13Edit = edit("P13Edit", top, EditUFloat);
    P13UpDown = AddUpDown(InPanel, "P13UpDown", P13Edit);
    top += RowPitch;
    Bevel2 = AddBevel(InPanel, "Bevel2", 6, top, 312, 3, TBevelShape::BottomLine);
    top += 6;
    LLabel = label("LLabel", "L, %:", 6, top, 84);
    L4Label = number("L4Label", "4", top);
    L4Edit = edit("L4Edit", top, EditUInt);
    L4UpDown = AddUpDown(InPanel, "L4UpDown", L4Edit);
    InPanel->SetHeight(top + RowPitch);
    FitHeight();
    FillAnswerOnlySlots(this);
}

void TGearBlockAFrame::FrameToAnswer()
{
    TMessageImage& answer = Info->SchemeObject->Answer;
    StoreEdit(answer, T7, T7Edit);
    StoreEdit(answer, P8, P8Edit);
    StoreEdit(answer, P9, P9Edit);
    StoreEdit(answer, P13, P13Edit);
    StoreEdit(answer, L4, L4Edit);
}

void TGearBlockAFrame::AnswerToFrame()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    T7Edit->SetText(T7.text(answer));
    P8Edit->SetText(P8.text(answer));
    P9Edit->SetText(P9.text(answer));
    P13Edit->SetText(P13.text(answer));
    L4Edit->SetText(L4.text(answer));
}

void TGearBlockAFrame::AnswerToGrid()
{
    const TMessageImage& answer = Info->SchemeObject->Answer;
    WriteCell(*Info, 3, T7.text(answer));
    WriteCell(*Info, 4, P8.text(answer));
    WriteCell(*Info, 5, NoValueText);
    WriteCell(*Info, 6, NoValueText);
}

void TGearBlockAFrame::GridToAnswer(const QString& text, int column)
{
    if (column != 3 && column != 4)
        return;
    const Num& field = column == 3 ? T7 : P8;
    if (const std::optional<std::int64_t> raw = field.fromCell(text))
        field.bits.store(Info->SchemeObject->Answer, *raw);
}

TFrame* CreateGearBlockAFrame(QWidget* owner, TDeviceInfo* info) { return new TGearBlockAFrame(owner, info); }

QString DescribeGearBlockAAnswer(const std::uint8_t* message)
{
    const TMessageImage m = ImageOf(message);
    return FormatLine("T7=%u, P8=%.2f, P9=%.2f, P13=%.2f, L4=%u", T7.bits.get(m), static_cast<double>(P8.value(m)),
                      static_cast<double>(P9.value(m)), static_cast<double>(P13.value(m)), L4.bits.get(m));
}

void RegisterGearBlockAFrames() { BindRows({GearBlockARow}, CreateGearBlockAFrame, nullptr, DescribeGearBlockAAnswer); }
