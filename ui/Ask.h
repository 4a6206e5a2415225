#pragma once
// The window's questions, messages and file choices go through here, so that a test can answer
// them instead of a user and nothing ever waits on a dialog that nobody sees.
#include <QString>
#include <functional>

class QFileDialog;
class QWidget;

// clang-format off
enum class TButtons { Ok, YesNo, YesNoCancel };
enum class TBoxIcon { Error, Question, Information };
enum class TAnswer { Ok, Yes, No, Cancel };
// clang-format on

inline const QString ErrorCaption = QStringLiteral("Ошибка");
inline const QString QuestionCaption = QStringLiteral("Вопрос");
inline const QString InformationCaption = QStringLiteral("Информация");

// Shows a message box with Russian button texts; the answer, or Cancel (No for Yes/No, Ok for
// Ok) when the box is closed otherwise.
TAnswer MessageBox(QWidget* parent, const QString& text, const QString& caption, TButtons buttons, TBoxIcon icon);
// Runs a prepared file dialog; the chosen file, or empty when it was cancelled.
QString ChooseFile(QFileDialog* dialog);

using TMessageBoxHook = std::function<TAnswer(const QString& text, const QString& caption, TButtons, TBoxIcon)>;
using TFileDialogHook = std::function<QString(QFileDialog* dialog)>;
// Installed hooks answer in place of the user; empty hooks restore the real dialogs.
void SetMessageBoxHook(TMessageBoxHook hook);
void SetFileDialogHook(TFileDialogHook hook);
