// Text fitting and baseline checks over a widget tree; see TextFit.h.
#include "support/TextFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionGroupBox>

#include "platform/Kit.h"

namespace {
constexpr int Slack = 1;
constexpr int LabelGap = 2;   // a label's text keeps this far from the control beside it

QString PathOf(const QWidget* w, const QWidget* root)
{
    QString path = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
    for (const QWidget* p = w->parentWidget(); p && p != root; p = p->parentWidget())
        if (!p->objectName().isEmpty())
            path = p->objectName() + QLatin1Char('.') + path;
    return path;
}

int TextWidth(const QWidget* w, const QString& text)
{
    return QFontMetrics(w->font()).horizontalAdvance(text);
}

class Walker {
public:
    Walker(const QWidget* root, TTextFitReport& report) : root_(root), report_(report) {}

    void Walk(const QWidget* w)
    {
        Check(w);
        for (QObject* o : w->children())
            if (auto* child = qobject_cast<QWidget*>(o); child && !child->isHidden() && !child->isWindow())
                Walk(child);
    }

private:
    void Fits(const QWidget* w, const QString& text, int room)
    {
        if (text.isEmpty())
            return;
        ++report_.Checked;
        const int need = TextWidth(w, text);
        if (need > room + Slack)
            report_.Clipped.push_back(QStringLiteral("%1: \"%2\" needs %3 px, has %4")
                                          .arg(PathOf(w, root_), text).arg(need).arg(room));
    }

    void Check(const QWidget* w)
    {
        if (auto* label = qobject_cast<const QLabel*>(w))
            CheckLabel(label);
        else if (auto* combo = qobject_cast<const QComboBox*>(w)) {
            const int room = ComboTextRect(combo).width() - (combo->isEditable() ? 4 : 2);
            for (int i = 0; i < combo->count(); ++i)
                Fits(w, combo->itemText(i), room);
        } else if (auto* edit = qobject_cast<const QLineEdit*>(w)) {
            if (!edit->parentWidget() || !qobject_cast<const QComboBox*>(edit->parentWidget()))
                Fits(w, edit->text(), EditTextRect(edit).width());
        } else if (auto* button = qobject_cast<const QAbstractButton*>(w)) {
            if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w) ||
                qobject_cast<const QPushButton*>(w))
                Fits(w, button->text(), ButtonTextRect(button).width());
        } else if (auto* group = qobject_cast<const QGroupBox*>(w)) {
            QStyleOptionGroupBox opt;
            opt.initFrom(group);
            opt.text = group->title();
            opt.subControls = QStyle::SC_GroupBoxLabel;
            const QRect label = group->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, group);
            Fits(w, group->title(), group->width() - label.left());
        } else if (auto* panel = dynamic_cast<const TPanel*>(w)) {
            Fits(w, panel->Caption(), panel->contentsRect().width());
        }
    }

    void CheckLabel(const QLabel* label)
    {
        if (label->text().isEmpty() || label->wordWrap())
            return;
        const QRect area = label->contentsRect();
        const int need = TextWidth(label, label->text());
        Fits(label, label->text(), area.width());
        const QWidget* beside = TextControlBeside(label);
        const Qt::Alignment a = label->alignment();
        const int textRight = a & Qt::AlignRight    ? area.right() + 1
                              : a & Qt::AlignHCenter ? area.left() + (area.width() + need) / 2
                                                     : area.left() + need;
        if (beside && label->x() + textRight + LabelGap > beside->x() + Slack)
            report_.Clipped.push_back(QStringLiteral("%1: \"%2\" runs into %3")
                                          .arg(PathOf(label, root_), label->text(), PathOf(beside, root_)));
        if (QFontMetrics(label->font()).height() > area.height() + Slack)
            report_.Clipped.push_back(QStringLiteral("%1: \"%2\" too low a label").arg(PathOf(label, root_), label->text()));
        if (!beside)
            return;
        const int mine = TextBaseline(label);
        const int theirs = TextBaseline(beside);
        if (mine < 0 || theirs < 0)
            return;
        ++report_.BaselinePairs;
        if (std::abs(mine - theirs) > Slack)
            report_.Misaligned.push_back(QStringLiteral("%1 (%2) beside %3 (%4)")
                                             .arg(PathOf(label, root_)).arg(mine).arg(PathOf(beside, root_)).arg(theirs));
    }

    const QWidget* root_;
    TTextFitReport& report_;
};
}

TTextFitReport CheckTextsFit(const QWidget* root)
{
    TTextFitReport report;
    Walker(root, report).Walk(root);
    return report;
}
