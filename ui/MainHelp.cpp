// The Help menu: the help page and the About form.
#include <QDir>

#include "ui/About.h"
#include "ui/Ask.h"
#include "ui/Help.h"
#include "ui/Main.h"

void TMirvane2Form::HHelpItemClick()
{
    const THelpPage page = OpenHelpPage();
    if (page.Opened)
        return;
    // Without a browser the user opens the page by hand: say where it is.
    const QString text = page.Path.isEmpty()
                             ? QStringLiteral("Не удалось открыть справку: страницу справки не удалось записать.")
                             : QStringLiteral("Не удалось открыть справку в браузере.\nСтраница справки: %1")
                                   .arg(QDir::toNativeSeparators(page.Path));
    MessageBox(this, text, ErrorCaption, TButtons::Ok, TBoxIcon::Error);
}

void TMirvane2Form::HAboutItemClick()
{
    TAboutForm form(this);
    form.exec();
}
