#pragma once
// Hints of menu items and tool buttons: "short|long", the short part the tool tip, the long
// part the status-bar text; a hint without "|" serves as both. The whole hint is kept in the
// object's "Hint" property.
#include <QAction>
#include <QString>
#include <QWidget>

inline QString ShortHintOf(const QString& hint)
{
    const int bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

inline QString LongHintOf(const QString& hint)
{
    const int bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

inline void SetHint(QAction* action, const QString& hint)
{
    action->setProperty("Hint", hint);
    action->setToolTip(ShortHintOf(hint));
    action->setStatusTip(LongHintOf(hint));
}

inline void SetHint(QWidget* widget, const QString& hint)
{
    widget->setProperty("Hint", hint);
    widget->setToolTip(ShortHintOf(hint));
    widget->setStatusTip(LongHintOf(hint));
}
