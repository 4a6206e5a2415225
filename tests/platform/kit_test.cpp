// The kit controls keep the event semantics the frame and window handlers rely on.
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "platform/Kit.h"

namespace {

class TDerivedEdit : public TEdit {
public:
    using TEdit::TEdit;
    MV_KIT_CLASS(TDerivedEdit)
};

}   // namespace

TEST(KitEvents, ProgrammaticChangesRaiseOnChangeAndOnClickButOnlyAUserOnSelect)
{
    TEdit edit;
    TCheckBox box;
    TComboBox combo;
    std::vector<QObject*> senders;
    edit.OnChange = box.OnClick = combo.OnSelect = [&](QObject* s) { senders.push_back(s); };
    for (const char* text : {"12", "12", ""})   // the same text again is no change
        edit.SetText(text);
    for (bool checked : {true, true, false})
        box.SetChecked(checked);
    combo.SetItems({"Свободен", "+24 В", "Масса"});
    combo.SetItemIndex(2);
    emit combo.activated(1);   // what a user's choice raises
    box.show();
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(6, box.height() / 2));
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(senders, (std::vector<QObject*>{&edit, &edit, &box, &box, &combo, &box}));
    combo.SetText("не пункт");   // an editable combo keeps a text that is no item
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_EQ(combo.Text(), "не пункт");
    combo.SetItemIndex(7);   // out of range: no selection
    EXPECT_EQ(combo.ItemIndex(), -1);
}

// Keys typed, and a key-down the program sends even to a read-only, disabled edit.
TEST(KitEdit, KeyHandlersConsumeReplaceOrSwallowKeysAndSeeShift)
{
    TEdit edit;
    std::vector<std::pair<int, bool>> seen;
    edit.OnKeyDown = [&](QObject*, int& key, TShiftState shift) {
        if (key == Qt::Key_Shift)
            return;   // the modifier's own key-down
        EXPECT_EQ(KeyShiftState(), shift);
        seen.emplace_back(key, shift.testFlag(Qt::ShiftModifier));
        if (key == Qt::Key_Up || key == Qt::Key_7)
            key = 0;   // consumed: it types nothing
    };
    int presses = 0;
    edit.OnKeyPress = [&](QObject*, QChar& key) {
        ++presses;
        if (key == '.')
            key = ',';   // replaced
        else if (!key.isDigit() && key != QChar(8))
            key = QChar();   // swallowed
    };
    QTest::keyClick(&edit, Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClicks(&edit, "1a27.5");
    EXPECT_EQ(edit.Text(), "12,5");
    EXPECT_EQ(presses, 5) << "no key press for the consumed keys";
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.Text(), "12,");
    edit.SetReadOnly(true);
    edit.SetEnabled(false);
    edit.SendKeyDown(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(seen, (std::vector<std::pair<int, bool>>{{Qt::Key_Up, true}, {Qt::Key_1, false}, {Qt::Key_A, false}, {Qt::Key_2, false}, {Qt::Key_7, false}, {Qt::Key_Period, false}, {Qt::Key_5, false}, {Qt::Key_Backspace, false}, {Qt::Key_Down, true}}));
}

TEST(KitUpDown, ButtonsRaiseTheirDirectionOrNoneAtALimitAndARefusalKeepsThePosition)
{
    using D = TUpDownDirection;
    // clang-format off
    struct Case { int min, max, position, increment; bool wrap, allow; D button, direction; int newValue; };
    // clang-format on
    const Case cases[] = {
        {0, 100, 50, 1, false, true, D::Up, D::Up, 51}, {0, 100, 50, 1, false, true, D::Down, D::Down, 49}, {0, 100, 100, 1, false, true, D::Up, D::None, 100}, {0, 100, 0, 1, false, true, D::Down, D::None, 0}, {0, 100, 98, 5, false, true, D::Up, D::Up, 100},   // clamped short of the limit
        {0, 100, 100, 1, true, true, D::Up, D::Up, 0},
        {0, 100, 0, 1, true, true, D::Down, D::Down, 100},   // wraps
        {5, 5, 5, 1, false, true, D::Up, D::None, 5},
        {0, 100, 500, 1, false, true, D::Up, D::None, 100},   // clamped in
        {0, 100, 10, 1, false, false, D::Up, D::Up, 11},
        {0, 100, 10, 1, false, false, D::Down, D::Down, 9},   // refused
    };
    for (const Case& c : cases) {
        TUpDown upDown;
        upDown.SetRange(c.min, c.max);
        upDown.SetPosition(c.position);
        upDown.SetIncrement(c.increment);
        upDown.SetWrap(c.wrap);
        std::vector<std::pair<int, D>> raised;
        upDown.OnChangingEx = [&](QObject*, bool& allow, int value, D d) {
            raised.emplace_back(value, d);
            allow = c.allow;
        };
        QTest::mouseClick(upDown.findChild<QToolButton*>(c.button == D::Up ? "Up" : "Down"), Qt::LeftButton);
        EXPECT_EQ(raised, (std::vector<std::pair<int, D>>{{c.newValue, c.direction}})) << c.position;
        EXPECT_EQ(upDown.Position(), c.allow ? c.newValue : c.position) << c.position;
    }
    TUpDown upDown;
    upDown.OnChangingEx = [](QObject*, bool&, int, D) { ADD_FAILURE() << "a disabled up-down is clicked"; };
    upDown.SetEnabled(false);
    upDown.Click(D::Up);
}

TEST(KitClasses, ExactClassNamesMembershipAndLookupAmongDirectChildren)
{
    TPanel panel;
    panel.resize(200, 100);
    auto* edit = new TEdit(&panel);
    edit->SetBounds(10, 10, 60, 21);
    edit->SetEnabled(false);
    auto* over = new TUpDown(&panel);
    over->SetBounds(55, 10, 15, 21);
    new QWidget(&panel);   // not a kit control
    auto* nested = new TPanel(&panel);
    nested->SetBounds(100, 10, 80, 60);
    auto* inner = new TDerivedEdit(nested);
    inner->SetBounds(0, 0, 80, 60);
    auto* hidden = new TLabel(&panel);
    hidden->SetBounds(10, 50, 50, 20);
    hidden->SetVisible(false);

    EXPECT_TRUE(edit->ClassNameIs("TEdit") && inner->ClassNameIs("TDerivedEdit"));
    EXPECT_FALSE(inner->ClassNameIs("TEdit"));
    EXPECT_TRUE(InheritsFrom<TEdit>(inner) && !InheritsFrom<TEdit>(hidden));
    // Controls lists the kit controls among the direct children, in creation order.
    EXPECT_EQ(Controls(&panel), (std::vector<TControl*>{edit, over, nested, hidden}));
    // ControlAtPos finds a direct child, disabled included, hidden not.
    EXPECT_EQ(ControlAtPos(&panel, {54, 10}), edit);
    EXPECT_EQ(ControlAtPos(&panel, {56, 10}), over);      // the topmost one
    EXPECT_EQ(ControlAtPos(&panel, {120, 20}), nested);   // never a grandchild
    EXPECT_EQ(ControlAtPos(&panel, {20, 55}), nullptr);
    EXPECT_EQ(ControlAtPos(nullptr, {5, 5}), nullptr);
}

TEST(KitLayout, AlignedChildrenStackInCreationOrder)
{
    TFrame frame;
    frame.resize(324, 200);
    frame.show();   // a hidden widget gets its resize only when shown
    const auto panel = [&frame](TAlign align, int height) {
        auto* p = new TPanel(&frame);
        p->SetHeight(height);
        p->SetAlign(align);
        return p;
    };
    auto* header = panel(TAlign::Top, 20);
    auto* body = panel(TAlign::Top, 50);
    auto* footer = panel(TAlign::Bottom, 30);
    auto* rest = panel(TAlign::Client, 0);
    EXPECT_EQ(header->Widget()->geometry(), QRect(0, 0, 324, 20));
    EXPECT_EQ(body->Widget()->geometry(), QRect(0, 20, 324, 50));
    EXPECT_EQ(footer->Widget()->geometry(), QRect(0, 170, 324, 30));
    EXPECT_EQ(rest->Widget()->geometry(), QRect(0, 70, 324, 100));
    body->SetVisible(false);   // hidden controls give up their place
    EXPECT_EQ(rest->Widget()->geometry(), QRect(0, 20, 324, 150));
    frame.resize(300, 100);
    EXPECT_EQ(footer->Widget()->geometry(), QRect(0, 70, 300, 30));
    EXPECT_TRUE(OwnerFrame(header) == &frame && OwnerFrame(&frame) == &frame);
}

// Labels are lined up with the control beside them by their text's baseline: a line of text
// centred in 10 px more than it needs sits 5 px down; a label at the foot has none to offer.
TEST(KitLayout, ALabelsBaselineFollowsItsVerticalAlignment)
{
    TFrame frame;
    const QFontMetrics fm(frame.font());
    // clang-format off
    const struct { Qt::Alignment align; int extra, below; } rows[] = {
        {Qt::AlignTop, 0, 0}, {Qt::AlignTop, 10, 0}, {Qt::AlignVCenter, 0, 0}, {Qt::AlignVCenter, 10, 5},
        {Qt::AlignBottom, 10, -1},
    };
    // clang-format on
    for (const auto& r : rows) {
        auto* label = new TLabel(&frame);
        label->SetCaption("Угол");
        label->setAlignment(r.align | Qt::AlignRight);
        label->setGeometry(4, 20, 80, fm.height() + r.extra);
        EXPECT_EQ(TextBaseline(label), r.below < 0 ? -1 : 20 + r.below + fm.ascent()) << r.align << " +" << r.extra;
    }
}

// A bevel's dark line runs from edge to edge with the light one below or right of it; a box is
// dark at the top and left, light at the bottom and right.
TEST(KitBevel, LinesRunFromEdgeToEdge)
{
    TBevel bevel;
    bevel.resize(12, 8);
    const QRgb dark = bevel.palette().color(QPalette::Dark).rgb();
    const QRgb light = bevel.palette().color(QPalette::Light).rgb();
    // clang-format off
    const struct { TBevelShape shape; QPoint dark[2], light[2]; } rows[] = {
        {TBevelShape::TopLine,    {{0, 0}, {11, 0}},  {{0, 1}, {11, 1}}},
        {TBevelShape::BottomLine, {{0, 6}, {11, 6}},  {{0, 7}, {11, 7}}},
        {TBevelShape::LeftLine,   {{0, 0}, {0, 7}},   {{1, 0}, {1, 7}}},
        {TBevelShape::RightLine,  {{10, 0}, {10, 7}}, {{11, 0}, {11, 7}}},
        {TBevelShape::Box,        {{10, 0}, {0, 6}},  {{11, 0}, {0, 7}}},
    };
    // clang-format on
    for (const auto& r : rows) {
        bevel.SetShape(r.shape);
        QImage image(bevel.size(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        bevel.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(image.pixel(r.dark[i]), dark) << int(r.shape) << " dark at " << r.dark[i].x() << "," << r.dark[i].y();
            EXPECT_EQ(image.pixel(r.light[i]), light) << int(r.shape) << " light at " << r.light[i].x() << "," << r.light[i].y();
        }
    }
}
