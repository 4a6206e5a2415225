#pragma once
// The number rules of the frames' edits, shared by the frame handlers and the scheme grid:
// which characters an edit of a kind accepts, and how Up and Down step its value.
#include <QChar>
#include <QString>
#include <optional>

// Refuses (sets to 0) a character that a number edit does not take: digits and Backspace
// always; '+' and '-' when signed; '.' and ',' when decimal, both becoming the decimal
// separator.
void FilterNumberKey(QChar& key, bool sign, bool decimal);

// An edit kind's stepping: integer steps of 1 (10 with Shift) or decimal steps of 0.01 (0.1),
// with 0 as the lower bound of unsigned kinds.
struct TEditStepping {
    bool Decimal;
    bool Unsigned;
};
// The text after one step up or down; none when the text holds no number of the kind.
std::optional<QString> SteppedEditText(const QString& text, TEditStepping kind, bool up, bool shift);
