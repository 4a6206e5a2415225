// The Help menu: the help page and the About form.
#include <QMessageBox>

#include "ui/About.h"
#include "ui/Help.h"
#include "ui/Main.h"

void TMirvane2Form::HHelpItemClick()
{
    if (!OpenHelpPage())
        QMessageBox::critical(this, QStringLiteral("Ошибка"), QStringLiteral("Не удалось открыть справку."));
}

void TMirvane2Form::HAboutItemClick()
{
    TAboutForm form(this);
    form.exec();
}
