#pragma once
// The control rows that the block frames share: rows of one-bit check boxes numbered like the
// digits of their grid column, label-edit-up-down number fields, and numbered combo boxes, one
// per output state or input.
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <span>
#include <vector>

#include "frames/shared/Fields.h"
#include "frames/shared/FrameBase.h"

inline constexpr int BoxStep = 22;        // pitch of the boxes in a row
inline constexpr int BoxRowHeight = 24;   // pitch of stacked rows
inline constexpr int IoFieldHeight = 28;
inline constexpr int IoRowPitch = 36;

// The number label of the highest-numbered signal on the left, the boxes from the highest down
// to the lowest, and the number label of the lowest on the right.
struct TBoxRow {
    TLabel* HighLabel = nullptr;
    std::vector<TCheckBox*> Boxes;   // the lowest-numbered signal first
    TLabel* LowLabel = nullptr;
};
// Signals first .. first+count-1 of `prefix`; each control is named prefix, number and
// "Label"/"CheckBox", then `suffix` ("_" on the answer side of frames that have both).
TBoxRow AddBoxRow(TFrameBase& frame, QWidget* parent, const QString& prefix, const QString& suffix, int first,
                  int count, int left, int top);
// Keeps a row's boxes in a frame's array of boxes from index `from` on (index 0 is signal 1).
void PlaceRow(std::span<TCheckBox*> boxes, std::size_t from, const TBoxRow& row);

// A row's controls into the frame's members, the boxes from the highest-numbered on.
void TakeRow(const TBoxRow& row, TLabel*& highLabel, std::initializer_list<TCheckBox**> highestFirst,
             TLabel*& lowLabel);

struct TOutputBoxes {
    TLabel* outLabel;                // "OUT:"
    TLabel* leftLabel;               // the highest number, at the left end
    TLabel* rightLabel;              // "1", at the right end
    std::vector<TCheckBox*> boxes;   // OUT1 first
};
// "OUTLabel" "OUT:", then the box row of OUT<count> .. OUT1 with the label `leftLabelName`
// (showing the highest number) at its left end and "OUT1Label" at its right end.
TOutputBoxes AddOutputBoxes(TFrameBase& frame, QWidget* panel, int count, int top, const QString& leftLabelName);

// A caption label at the left of a row.
TLabel* AddRowLabel(TFrameBase& frame, QWidget* panel, const QString& name, const QString& caption, int left,
                    int top, int width);

struct TNumberField {
    TLabel* label;
    TEdit* edit;
    TUpDown* upDown;
    void Into(TLabel*& l, TEdit*& e, TUpDown*& u) const { l = label, e = edit, u = upDown; }
};
// A small number label, its edit (of edit kind `kind`) and the up-down over the edit's right end.
TNumberField AddNumberField(TFrameBase& frame, QWidget* panel, const QString& stem, const QString& number,
                            int left, int top, int kind);
// "<stem>Label" with its caption at the left of the row, "<stem>Edit" and "<stem>UpDown".
TNumberField AddValueField(TFrameBase& frame, QWidget* panel, const QString& stem, const QString& caption, int top,
                           int kind);
// "<stem>Label<suffix>" at `labelLeft`, "<stem>Edit<suffix>" of `width` at `editLeft` and
// "<stem>UpDown<suffix>" over it, on a plain row of its panel.
TNumberField AddEditField(TFrameBase& frame, QWidget* panel, const QString& stem, const QString& caption,
                          int labelLeft, int editLeft, int top, int width, int kind, const QString& suffix = {});

// The heading "<prefix>Label<suffix>" "<prefix>:" and below it one row per combo:
// "<prefix><n>Label<suffix>" with its number and "<prefix><n>ComboBox" with the items
// `itemsOf(index)`, a drop-down list. Returns the heading.
TLabel* AddComboRows(TFrameBase& frame, QWidget* panel, const QString& prefix, const QString& suffix, int top,
                     std::span<TLabel*> labels, std::span<TComboBox*> combos, const QStringList& (*itemsOf)(std::size_t));
