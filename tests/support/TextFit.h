#pragma once
// Checks that every text a widget tree shows can be read in full: captions, labels, check-box
// and radio-button texts, panel captions, edit values and every item of a combo box
// (as shown when chosen, against the combo's edit field), each measured with its widget's font
// against the widget's content area, with one pixel of slack; a label that wraps, by the lines
// it breaks into. A label's room ends two pixels
// before the next text control beside it. Also compares the baseline of each label with that of
// the text control to its right.
#include <QString>
#include <QStringList>
#include <QWidget>

struct TTextFitReport {
    int Checked = 0;         // texts measured
    QStringList Clipped;     // "<path>: \"<text>\" needs N px, has M"
    int BaselinePairs = 0;   // label/control pairs compared
    QStringList Misaligned;
};

// Walks the widgets of `root` that would be visible with it (root itself may be hidden).
TTextFitReport CheckTextsFit(const QWidget* root);
