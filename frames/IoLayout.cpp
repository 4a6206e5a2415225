#include "frames/IoLayout.h"

#include "frames/BoxRow.h"
#include "frames/EditFields.h"

namespace {
constexpr int NumberLabelWidth = 18;
constexpr int ComboLeft = 72;
constexpr int ComboWidth = 246;
constexpr int NumberEditWidth = 80;
constexpr int ValueEditLeft = 90;
constexpr int ValueEditWidth = 114;
constexpr int BoxRowLeft = 56;
constexpr int BoxRowLabelHeight = 17;

TLabel* NumberLabel(TFrameBase& frame, QWidget* panel, const QString& name, const QString& caption, int left,
                    int top)
{
    TLabel* label = frame.AddLabel(panel, name, caption, left, top);
    label->SetBounds(left, top, NumberLabelWidth, IoFieldHeight);
    label->setAlignment(Qt::AlignCenter);
    return label;
}
}

TLabel* AddRowLabel(TFrameBase& frame, QWidget* panel, const QString& name, const QString& caption, int left,
                    int top, int width)
{
    TLabel* label = frame.AddLabel(panel, name, caption, left, top);
    label->SetBounds(left, top, width, IoFieldHeight);
    return label;
}

TOutputBoxes AddOutputBoxes(TFrameBase& frame, QWidget* panel, int count, int top, const QString& leftLabelName)
{
    TOutputBoxes row{};
    row.outLabel = AddRowLabel(frame, panel, QStringLiteral("OUTLabel"), QStringLiteral("OUT:"), 6, top, 56);
    const TBoxRow boxes = AddBoxRow(frame, panel, QStringLiteral("OUT"), QString(), 1, count, BoxRowLeft,
                                    top + (IoFieldHeight - BoxRowLabelHeight) / 2);
    row.leftLabel = boxes.HighLabel;
    row.leftLabel->SetName(leftLabelName);
    row.rightLabel = boxes.LowLabel;
    row.boxes = boxes.Boxes;
    for (TCheckBox* box : row.boxes)
        box->SetEnabled(false);
    return row;
}

TNumberField AddNumberField(TFrameBase& frame, QWidget* panel, const QString& stem, const QString& number,
                            int left, int top, int kind)
{
    TNumberField field{};
    field.label = NumberLabel(frame, panel, stem + number + QStringLiteral("Label"), number, left, top);
    field.edit = frame.AddEdit(panel, stem + number + QStringLiteral("Edit"), left + NumberLabelWidth, top,
                               NumberEditWidth, kind);
    field.edit->SetHeight(IoFieldHeight);
    field.upDown = frame.AddUpDown(panel, stem + number + QStringLiteral("UpDown"), field.edit);
    return field;
}

TNumberField AddValueField(TFrameBase& frame, QWidget* panel, const QString& stem, const QString& caption, int top,
                           int kind)
{
    TNumberField field{};
    field.label = AddRowLabel(frame, panel, stem + QStringLiteral("Label"), caption, 6, top, ValueEditLeft - 6);
    field.edit = frame.AddEdit(panel, stem + QStringLiteral("Edit"), ValueEditLeft, top, ValueEditWidth, kind);
    field.edit->SetHeight(IoFieldHeight);
    field.upDown = frame.AddUpDown(panel, stem + QStringLiteral("UpDown"), field.edit);
    return field;
}

TComboRow AddComboRow(TFrameBase& frame, QWidget* panel, const QString& labelName, const QString& number,
                      const QString& comboName, const QStringList& items, int top)
{
    TComboRow row{};
    row.label = NumberLabel(frame, panel, labelName, number, ComboLeft - NumberLabelWidth - 4, top);
    row.combo = frame.AddComboBox(panel, comboName, items, ComboLeft, top, ComboWidth);
    row.combo->SetHeight(IoFieldHeight);
    row.combo->SetEnabled(false);
    return row;
}

void StoreFirstField(TMessageImage& image, const Num& field, const TEdit* edit)
{
    if (!StoreEditValue(image, field, edit))
        field.bits.keepOnly(image);
}

