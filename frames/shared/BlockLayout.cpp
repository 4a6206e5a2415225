#include "frames/shared/BlockLayout.h"

#include <algorithm>

namespace {
constexpr int BoxWidth = 17;
constexpr int NumberWidth = 22;   // room for a two-digit number label
constexpr int LabelGap = 3;
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

// The edit gets its height first: the up-down takes the edit's.
TNumberField FieldAfter(TFrameBase& frame, QWidget* panel, TLabel* label, const QString& editName,
                        const QString& upDownName, int left, int top, int width, int kind, int height = 0)
{
    TEdit* edit = frame.AddEdit(panel, editName, left, top, width, kind);
    if (height > 0)
        edit->SetHeight(height);
    return {label, edit, frame.AddUpDown(panel, upDownName, edit)};
}
}

TBoxRow AddBoxRow(TFrameBase& frame, QWidget* parent, const QString& prefix, const QString& suffix, int first,
                  int count, int left, int top)
{
    const auto name = [&](int number, const char* kind) {
        return prefix + QString::number(number) + QLatin1String(kind) + suffix;
    };
    const int last = first + count - 1;
    TBoxRow row;
    row.HighLabel = frame.AddLabel(parent, name(last, "Label"), QString::number(last), left, top);
    row.HighLabel->SetLeft(left + NumberWidth - row.HighLabel->Width());   // right-aligned against the boxes
    row.Boxes.resize(static_cast<std::size_t>(count));
    int x = left + NumberWidth + LabelGap;
    for (int number = last; number >= first; --number, x += BoxStep)
        row.Boxes[static_cast<std::size_t>(number - first)] =
            frame.AddCheckBox(parent, name(number, "CheckBox"), QString(), x, top + 1, BoxWidth);
    row.LowLabel = frame.AddLabel(parent, name(first, "Label"), QString::number(first), x, top);
    return row;
}

void PlaceRow(std::span<TCheckBox*> boxes, std::size_t from, const TBoxRow& row)
{
    std::copy(row.Boxes.begin(), row.Boxes.end(), boxes.subspan(from, row.Boxes.size()).begin());
}

void TakeRow(const TBoxRow& row, TLabel*& highLabel, std::initializer_list<TCheckBox**> highestFirst,
             TLabel*& lowLabel)
{
    highLabel = row.HighLabel;
    std::size_t index = row.Boxes.size();
    for (TCheckBox** box : highestFirst)
        *box = row.Boxes.at(--index);
    lowLabel = row.LowLabel;
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
    return row;
}

TNumberField AddNumberField(TFrameBase& frame, QWidget* panel, const QString& stem, const QString& number,
                            int left, int top, int kind)
{
    TLabel* label = NumberLabel(frame, panel, stem + number + QStringLiteral("Label"), number, left, top);
    return FieldAfter(frame, panel, label, stem + number + QStringLiteral("Edit"), stem + number + QStringLiteral("UpDown"),
                      left + NumberLabelWidth, top, NumberEditWidth, kind, IoFieldHeight);
}

TNumberField AddValueField(TFrameBase& frame, QWidget* panel, const QString& stem, const QString& caption, int top,
                           int kind)
{
    TLabel* label = AddRowLabel(frame, panel, stem + QStringLiteral("Label"), caption, 6, top, ValueEditLeft - 6);
    return FieldAfter(frame, panel, label, stem + QStringLiteral("Edit"), stem + QStringLiteral("UpDown"), ValueEditLeft,
                      top, ValueEditWidth, kind, IoFieldHeight);
}

TNumberField AddEditField(TFrameBase& frame, QWidget* panel, const QString& stem, const QString& caption,
                          int labelLeft, int editLeft, int top, int width, int kind, const QString& suffix)
{
    TLabel* label = frame.AddLabel(panel, stem + QStringLiteral("Label") + suffix, caption, labelLeft, top + 2);
    return FieldAfter(frame, panel, label, stem + QStringLiteral("Edit") + suffix,
                      stem + QStringLiteral("UpDown") + suffix, editLeft, top, width, kind);
}

TLabel* AddComboRows(TFrameBase& frame, QWidget* panel, const QString& prefix, const QString& suffix, int top,
                     std::span<TLabel*> labels, std::span<TComboBox*> combos, const QStringList& (*itemsOf)(std::size_t))
{
    TLabel* heading = AddRowLabel(frame, panel, prefix + QStringLiteral("Label") + suffix, prefix + QStringLiteral(":"),
                                  6, top, 44);
    for (std::size_t i = 0; i < combos.size(); ++i) {
        const QString n = QString::number(i + 1);
        const int rowTop = top + static_cast<int>(i) * IoRowPitch;
        labels[i] = NumberLabel(frame, panel, prefix + n + QStringLiteral("Label") + suffix, n,
                                ComboLeft - NumberLabelWidth - 4, rowTop);
        combos[i] = frame.AddComboBox(panel, prefix + n + QStringLiteral("ComboBox"), itemsOf(i), ComboLeft, rowTop,
                                      ComboWidth);
        combos[i]->SetHeight(IoFieldHeight);
    }
    return heading;
}
