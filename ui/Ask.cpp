#include "ui/Ask.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace {
TMessageBoxHook& BoxHook()
{
    static TMessageBoxHook hook;
    return hook;
}
TFileDialogHook& DialogHook()
{
    static TFileDialogHook hook;
    return hook;
}

QMessageBox::Icon BoxIcon(TBoxIcon icon)
{
    switch (icon) {
    case TBoxIcon::Error: return QMessageBox::Critical;
    case TBoxIcon::Question: return QMessageBox::Question;
    case TBoxIcon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}
}

void SetMessageBoxHook(TMessageBoxHook hook) { BoxHook() = std::move(hook); }
void SetFileDialogHook(TFileDialogHook hook) { DialogHook() = std::move(hook); }

TAnswer MessageBox(QWidget* parent, const QString& text, const QString& caption, TButtons buttons, TBoxIcon icon)
{
    if (BoxHook())
        return BoxHook()(text, caption, buttons, icon);
    QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::NoButton, parent);
    // clang-format off
    struct TChoice { QMessageBox::StandardButton Button; const char* Text; TAnswer Answer; };
    // clang-format on
    std::vector<TChoice> choices;
    if (buttons == TButtons::Ok)
        choices = {{QMessageBox::Ok, "OK", TAnswer::Ok}};
    else
        choices = {{QMessageBox::Yes, "Да", TAnswer::Yes}, {QMessageBox::No, "Нет", TAnswer::No}};
    if (buttons == TButtons::YesNoCancel)
        choices.push_back({QMessageBox::Cancel, "Отмена", TAnswer::Cancel});
    for (const TChoice& c : choices)
        box.addButton(c.Button)->setText(QString::fromUtf8(c.Text));
    box.setDefaultButton(QMessageBox::StandardButton(choices.front().Button));
    const int result = box.exec();
    for (const TChoice& c : choices)
        if (result == c.Button)
            return c.Answer;
    // Closed with Esc or the title bar: the safest answer of the set.
    return choices.size() == 3 ? TAnswer::Cancel : choices.back().Answer;
}

QString ChooseFile(QFileDialog* dialog)
{
    if (DialogHook())
        return DialogHook()(dialog);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().constFirst();
}
