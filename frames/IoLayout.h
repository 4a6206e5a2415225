#pragma once
// The control rows that the frames of blocks with switched outputs share: a row of output check
// boxes numbered from the highest on the left, label-edit-up-down number fields, and one
// numbered combo box per output state or input.
#include "frames/Fields.h"
#include "frames/FrameBase.h"

#include <QString>
#include <QStringList>
#include <vector>

inline constexpr int IoFieldHeight = 28;
inline constexpr int IoRowPitch = 36;

struct TOutputBoxes {
    TLabel* outLabel;     // "OUT:"
    TLabel* leftLabel;    // the highest number, at the left end
    TLabel* rightLabel;   // "1", at the right end
    std::vector<TCheckBox*> boxes;   // OUT1 first
};
// "OUTLabel" "OUT:", then the box row of OUT<count> .. OUT1 with the label `leftLabelName`
// (showing the highest number) at its left end and "OUT1Label" at its right end. The boxes are
// disabled until the device has data.
TOutputBoxes AddOutputBoxes(TFrameBase& frame, QWidget* panel, int count, int top,
                                       const QString& leftLabelName);

// A caption label at the left of a row.
TLabel* AddRowLabel(TFrameBase& frame, QWidget* panel, const QString& name, const QString& caption, int left,
                    int top, int width);

struct TNumberField {
    TLabel* label;
    TEdit* edit;
    TUpDown* upDown;
};
// A small number label, its edit (of edit kind `kind`) and the up-down over the edit's right end.
TNumberField AddNumberField(TFrameBase& frame, QWidget* panel, const QString& stem, const QString& number,
                            int left, int top, int kind);

// "<stem>Label" with its caption at the left of the row, "<stem>Edit" and "<stem>UpDown".
TNumberField AddValueField(TFrameBase& frame, QWidget* panel, const QString& stem, const QString& caption, int top,
                           int kind);

struct TComboRow {
    TLabel* label;
    TComboBox* combo;
};
// A row of a numbered output or input: its number label and its combo box, a drop-down list
// disabled until the device has data.
TComboRow AddComboRow(TFrameBase& frame, QWidget* panel, const QString& labelName, const QString& number,
                      const QString& comboName, const QStringList& items, int top);

// The first field of its byte or word from an edit: on conversion the whole group is written
// (the field's bits from the value, the rest 0); otherwise its bits stay and the rest is cleared,
// ready for the later fields of the group to be OR-ed in.
void StoreFirstField(TMessageImage& image, const Num& field, const TEdit* edit);
