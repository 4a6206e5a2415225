// Text fitting and baseline checks over a widget tree; see TextFit.h.
#include "support/TextFit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/Kit.h"

namespace {
constexpr int Slack = 1;
constexpr int LabelGap = 2;   // a label's text keeps this far from the control beside it

struct TWalk {
    TTextFitReport& Report;

    void Walk(const QWidget* w)
    {
        Check(w);
        for (QObject* o : w->children())
            if (auto* child = qobject_cast<QWidget*>(o); child && !child->isHidden() && !child->isWindow())
                Walk(child);
    }

    static QString Path(const QWidget* w)
    {
        const QString own = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
        return w->parentWidget() ? w->parentWidget()->objectName() + QLatin1Char('.') + own : own;
    }

    void Fits(const QWidget* w, const QString& text, int room)
    {
        if (text.isEmpty())
            return;
        ++Report.Checked;
        const int need = QFontMetrics(w->font()).horizontalAdvance(text);
        if (need > room + Slack)
            Report.Clipped.push_back(QStringLiteral("%1: \"%2\" needs %3 px, has %4").arg(Path(w), text).arg(need).arg(room));
    }

    void Check(const QWidget* w)
    {
        if (auto* label = qobject_cast<const QLabel*>(w)) {
            CheckLabel(label);
        } else if (auto* combo = qobject_cast<const QComboBox*>(w)) {
            const int room = ComboTextRect(combo).width() - (combo->isEditable() ? 4 : 2);
            for (int i = 0; i < combo->count(); ++i)
                Fits(w, combo->itemText(i), room);
        } else if (auto* edit = qobject_cast<const QLineEdit*>(w)) {
            if (!qobject_cast<const QComboBox*>(edit->parentWidget()))
                Fits(w, edit->text(), EditTextRect(edit).width());
        } else if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w) || qobject_cast<const QPushButton*>(w)) {
            auto* button = static_cast<const QAbstractButton*>(w);
            Fits(w, button->text(), ButtonTextRect(button).width());
        } else if (auto* panel = dynamic_cast<const TPanel*>(w)) {
            Fits(w, panel->Caption(), panel->contentsRect().width());
        }
    }

    // A label that wraps its text: the lines it breaks into fit its height, and no word is wider
    // than the label.
    void CheckWrapped(const QLabel* label)
    {
        ++Report.Checked;
        const QRect area = label->contentsRect();
        const QRect need = QFontMetrics(label->font()).boundingRect(area, Qt::TextWordWrap, label->text());
        if (need.width() > area.width() + Slack || need.height() > area.height() + Slack)
            Report.Clipped.push_back(QStringLiteral("%1: \"%2\" needs %3 x %4 px, has %5 x %6")
                                         .arg(Path(label), label->text())
                                         .arg(need.width())
                                         .arg(need.height())
                                         .arg(area.width())
                                         .arg(area.height()));
    }

    void CheckLabel(const QLabel* label)
    {
        if (label->text().isEmpty())
            return;
        if (label->wordWrap())
            return CheckWrapped(label);
        const QRect area = label->contentsRect();
        const int need = QFontMetrics(label->font()).horizontalAdvance(label->text());
        Fits(label, label->text(), area.width());
        const QWidget* beside = TextControlBeside(label);
        const Qt::Alignment a = label->alignment();
        const int textRight = a & Qt::AlignRight     ? area.right() + 1
                              : a & Qt::AlignHCenter ? area.left() + (area.width() + need) / 2
                                                     : area.left() + need;
        if (beside && label->x() + textRight + LabelGap > beside->x() + Slack)
            Report.Clipped.push_back(QStringLiteral("%1: \"%2\" runs into %3").arg(Path(label), label->text(), Path(beside)));
        if (QFontMetrics(label->font()).height() > area.height() + Slack)
            Report.Clipped.push_back(QStringLiteral("%1: \"%2\" too low a label").arg(Path(label), label->text()));
        const int mine = TextBaseline(label);
        const int theirs = beside ? TextBaseline(beside) : -1;
        if (mine < 0 || theirs < 0)
            return;
        ++Report.BaselinePairs;
        if (std::abs(mine - theirs) > Slack)
            Report.Misaligned.push_back(QStringLiteral("%1 (%2) beside %3 (%4)").arg(Path(label)).arg(mine).arg(Path(beside)).arg(theirs));
    }
};
}

TTextFitReport CheckTextsFit(const QWidget* root)
{
    TTextFitReport report;
    TWalk{report}.Walk(root);
    return report;
}
