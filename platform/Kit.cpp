#include "platform/Kit.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QToolButton>
#include <algorithm>
#include <atomic>
#include <optional>

namespace {

std::atomic<std::uint64_t> nextCreationOrder{1};

// The modifiers of the key event a kit control is dispatching (main thread only).
const TShiftState* dispatchedShift = nullptr;

class ShiftScope {
public:
    explicit ShiftScope(TShiftState shift) : saved_(dispatchedShift), shift_(shift) { dispatchedShift = &shift_; }
    ~ShiftScope() { dispatchedShift = saved_; }
    ShiftScope(const ShiftScope&) = delete;
    ShiftScope& operator=(const ShiftScope&) = delete;

private:
    const TShiftState* saved_;
    TShiftState shift_;
};

void realignParent(QWidget* self)
{
    if (auto* parent = self->parentWidget())
        AlignControls(parent);
}

}   // namespace

TShiftState KeyShiftState()
{
    return dispatchedShift ? *dispatchedShift : QGuiApplication::keyboardModifiers();
}

// ---------------------------------------------------------------------------------------------

TControl::TControl(QWidget* self) : self_(self), creationOrder_(nextCreationOrder++)
{
    // A control is visible unless hidden, also when its parent is shown already (a Qt child
    // added to a shown parent would stay hidden until shown itself).
    if (self_->parentWidget())
        self_->setVisible(true);
}

bool TControl::ClassNameIs(const char* name) const { return qstrcmp(ClassName(), name) == 0; }

QString TControl::Name() const { return self_->objectName(); }
void TControl::SetName(const QString& name) { self_->setObjectName(name); }

int TControl::Left() const { return self_->x(); }
int TControl::Top() const { return self_->y(); }
int TControl::Width() const { return self_->width(); }
int TControl::Height() const { return self_->height(); }
void TControl::SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
void TControl::SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
void TControl::SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
void TControl::SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }

void TControl::SetBounds(int left, int top, int width, int height)
{
    self_->setGeometry(left, top, std::max(0, width), std::max(0, height));
    if (align_ != TAlign::None)
        realignParent(self_);
}

bool TControl::Visible() const { return !self_->isHidden(); }

void TControl::SetVisible(bool visible)
{
    self_->setVisible(visible);
    if (align_ != TAlign::None)
        realignParent(self_);
}

bool TControl::Enabled() const { return !self_->testAttribute(Qt::WA_ForceDisabled); }
void TControl::SetEnabled(bool enabled) { self_->setEnabled(enabled); }

void TControl::SetAlign(TAlign align)
{
    align_ = align;
    realignParent(self_);
}

void TControl::SetHint(const QString& hint)
{
    hint_ = hint;
    self_->setToolTip(ShortHint());
    self_->setStatusTip(LongHint());
}

QString TControl::ShortHint() const
{
    const int bar = hint_.indexOf('|');
    return bar < 0 ? hint_ : hint_.left(bar);
}

QString TControl::LongHint() const
{
    const int bar = hint_.indexOf('|');
    return bar < 0 ? hint_ : hint_.mid(bar + 1);
}

QColor TControl::Color() const { return self_->palette().color(self_->backgroundRole()); }

void TControl::SetColor(const QColor& color)
{
    QPalette palette = self_->palette();
    palette.setColor(self_->backgroundRole(), color);
    self_->setPalette(palette);
    self_->setAutoFillBackground(true);
    parentColor_ = false;
}

void TControl::SetParentColor(bool parentColor)
{
    parentColor_ = parentColor;
    if (parentColor) {
        self_->setPalette(QPalette());
        self_->setAutoFillBackground(false);
    }
}

TControl* AsControl(QObject* object) { return dynamic_cast<TControl*>(object); }

std::vector<TControl*> Controls(const QWidget* parent)
{
    std::vector<TControl*> controls;
    if (!parent)
        return controls;
    for (QObject* child : parent->children())
        if (auto* control = AsControl(child))
            controls.push_back(control);
    std::stable_sort(controls.begin(), controls.end(),
                     [](const TControl* a, const TControl* b) { return a->CreationOrder() < b->CreationOrder(); });
    return controls;
}

TControl* ControlAtPos(const QWidget* parent, QPoint pos)
{
    if (!parent)
        return nullptr;
    // children() lists the widgets bottom to top: the last one that holds the point is on top.
    const QObjectList& children = parent->children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto* widget = qobject_cast<QWidget*>(*it);
        TControl* control = AsControl(*it);
        if (widget && control && !widget->isHidden() && widget->geometry().contains(pos))
            return control;
    }
    return nullptr;
}

void AlignControls(QWidget* parent)
{
    if (!parent)
        return;
    std::vector<TControl*> aligned;
    for (TControl* control : Controls(parent))
        if (control->Align() != TAlign::None && control->Visible())
            aligned.push_back(control);
    QRect r = parent->contentsRect();
    const auto place = [](TControl* c, int x, int y, int w, int h) {
        c->Widget()->setGeometry(x, y, std::max(0, w), std::max(0, h));
    };
    for (TAlign pass : {TAlign::Top, TAlign::Bottom, TAlign::Left, TAlign::Right, TAlign::Client}) {
        for (TControl* c : aligned) {
            if (c->Align() != pass)
                continue;
            switch (pass) {
            case TAlign::Top:
                place(c, r.left(), r.top(), r.width(), c->Height());
                r.setTop(r.top() + c->Height());
                break;
            case TAlign::Bottom:
                place(c, r.left(), r.bottom() + 1 - c->Height(), r.width(), c->Height());
                r.setBottom(r.bottom() - c->Height());
                break;
            case TAlign::Left:
                place(c, r.left(), r.top(), c->Width(), r.height());
                r.setLeft(r.left() + c->Width());
                break;
            case TAlign::Right:
                place(c, r.right() + 1 - c->Width(), r.top(), c->Width(), r.height());
                r.setRight(r.right() - c->Width());
                break;
            default:
                place(c, r.left(), r.top(), r.width(), r.height());
                break;
            }
        }
    }
}

TFrame* OwnerFrame(QObject* control)
{
    for (QObject* o = control; o; o = o->parent())
        if (auto* frame = dynamic_cast<TFrame*>(o))
            return frame;
    return nullptr;
}

// ---------------------------------------------------------------------------------------------

TPanel::TPanel(QWidget* parent) : QFrame(parent), TControl(this)
{
    SetBevelOuter(TPanelBevel::Raised);
}

void TPanel::SetCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void TPanel::SetAlignment(Qt::Alignment alignment)
{
    alignment_ = alignment;
    update();
}

void TPanel::SetBevelOuter(TPanelBevel bevel)
{
    switch (bevel) {
    case TPanelBevel::None: setFrameStyle(QFrame::NoFrame); break;
    case TPanelBevel::Raised: setFrameStyle(QFrame::Panel | QFrame::Raised); break;
    case TPanelBevel::Lowered: setFrameStyle(QFrame::Panel | QFrame::Sunken); break;
    }
}

void TPanel::SetFontColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void TPanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (caption_.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(contentsRect(), int(alignment_ | Qt::AlignVCenter), caption_);
}

void TPanel::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    AlignControls(this);
}

bool TPanel::event(QEvent* event)
{
    if (event->type() == QEvent::LayoutRequest)
        AlignControls(this);
    return QFrame::event(event);
}

TFrame::TFrame(QWidget* owner) : QFrame(nullptr), TControl(this), owner_(owner)
{
    setFrameStyle(QFrame::NoFrame);
    hide();
}

void TFrame::SetParent(QWidget* parent)
{
    const bool shown = !isHidden();
    setParent(parent);   // a reparented widget is hidden: keep what it was
    setVisible(shown);
}

void TFrame::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    AlignControls(this);
}

bool TFrame::event(QEvent* event)
{
    if (event->type() == QEvent::LayoutRequest)
        AlignControls(this);
    return QFrame::event(event);
}

TScrollBox::TScrollBox(QWidget* parent) : QScrollArea(parent), TControl(this)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    auto* surface = new QWidget;
    surface->setObjectName(QStringLiteral("Surface"));
    surface->installEventFilter(this);
    setWidget(surface);
    viewport()->setAutoFillBackground(false);
    surface->setAutoFillBackground(false);
    // The focus may come by a click, by Tab or from the program: the view follows it alike.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now != widget() && widget()->isAncestorOf(now))
            ensureWidgetVisible(now, 0, 0);
    });
}

bool TScrollBox::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        if (watched == widget())
            if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()))
                child->installEventFilter(this);
        break;
    case QEvent::ChildRemoved:
        if (watched == widget())
            fitSurface();
        break;
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Resize:
    case QEvent::Move:
        if (watched != widget())
            fitSurface();
        break;
    default: break;
    }
    return QScrollArea::eventFilter(watched, event);
}

void TScrollBox::fitSurface()
{
    QRect used;
    for (QWidget* child : widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isHidden())
            used |= child->geometry();
    widget()->resize(std::max(0, used.right() + 1), std::max(0, used.bottom() + 1));
}

TGroupBox::TGroupBox(QWidget* parent) : QGroupBox(parent), TControl(this) {}

void TGroupBox::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    AlignControls(this);
}

bool TGroupBox::event(QEvent* event)
{
    if (event->type() == QEvent::LayoutRequest)
        AlignControls(this);
    return QGroupBox::event(event);
}

// ---------------------------------------------------------------------------------------------

TLabel::TLabel(QWidget* parent) : QLabel(parent), TControl(this) {}

TBevel::TBevel(QWidget* parent) : QFrame(parent), TControl(this) {}

void TBevel::SetShape(TBevelShape shape)
{
    shape_ = shape;
    update();
}

void TBevel::paintEvent(QPaintEvent*)
{
    // A lowered line or box: a dark line with a light one beside it.
    QPainter painter(this);
    const QColor dark = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    const int r = width() - 1;
    const int b = height() - 1;
    const auto line = [&](const QColor& c, int x1, int y1, int x2, int y2) {
        painter.setPen(c);
        painter.drawLine(x1, y1, x2, y2);
    };
    switch (shape_) {
    // clang-format off
    case TBevelShape::TopLine: line(dark, 0, 0, r, 0); line(light, 0, 1, r, 1); break;
    case TBevelShape::BottomLine: line(dark, 0, b - 1, r, b - 1); line(light, 0, b, r, b); break;
    case TBevelShape::LeftLine: line(dark, 0, 0, 0, b); line(light, 1, 0, 1, b); break;
    case TBevelShape::RightLine: line(dark, r - 1, 0, r - 1, b); line(light, r, 0, r, b); break;
    // clang-format on
    case TBevelShape::Box:
    case TBevelShape::Frame:
        line(dark, 0, 0, r, 0);
        line(dark, 0, 0, 0, b);
        line(light, 0, b, r, b);
        line(light, r, 0, r, b);
        break;
    }
}

// ---------------------------------------------------------------------------------------------

TEdit::TEdit(QWidget* parent) : QLineEdit(parent), TControl(this)
{
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (OnChange)
            OnChange(this);
    });
}

void TEdit::SetText(const QString& text)
{
    if (text != this->text())
        setText(text);
}

void TEdit::SendKeyDown(int key, TShiftState shift)
{
    ShiftScope scope(shift);
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

void TEdit::keyPressEvent(QKeyEvent* event)
{
    const TShiftState shift = event->modifiers();
    ShiftScope scope(shift);
    int key = event->key();
    if (OnKeyDown) {
        OnKeyDown(this, key, shift);
        if (key == 0) {
            event->accept();
            return;
        }
    }
    const QString typed = event->text();
    if (OnKeyPress && !typed.isEmpty()) {
        QString kept;
        bool changed = false;
        for (QChar c : typed) {
            QChar k = c;
            OnKeyPress(this, k);
            changed = changed || k != c;
            if (!k.isNull())
                kept += k;
        }
        if (changed) {
            // The handler replaced or swallowed characters: what is left is typed as text.
            event->accept();
            if (!isReadOnly() && !kept.isEmpty())
                insert(kept);
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

TMemo::TMemo(QWidget* parent) : QPlainTextEdit(parent), TControl(this)
{
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (OnChange)
            OnChange(this);
    });
}

QStringList TMemo::Lines() const
{
    const QString text = toPlainText();
    return text.isEmpty() ? QStringList() : text.split('\n');
}

void TMemo::AddLine(const QString& line) { appendPlainText(line); }

void TMemo::SetWordWrap(bool wrap) { setLineWrapMode(wrap ? WidgetWidth : NoWrap); }

void TMemo::SetVerticalScrollBar(bool shown)
{
    setVerticalScrollBarPolicy(shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
}

// clang-format off
void TMemo::ScrollToEnd() { moveCursor(QTextCursor::End); ensureCursorVisible(); }
// clang-format on

TCheckBox::TCheckBox(QWidget* parent) : QCheckBox(parent), TControl(this)
{
    connect(this, &QCheckBox::toggled, this, [this] {
        if (OnClick)
            OnClick(this);
    });
}

TRadioButton::TRadioButton(QWidget* parent) : QRadioButton(parent), TControl(this)
{
    connect(this, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked && OnClick)
            OnClick(this);
    });
}

// ---------------------------------------------------------------------------------------------

TComboBox::TComboBox(QWidget* parent) : QComboBox(parent), TControl(this)
{
    // The wheel over a combo box that the user has not chosen scrolls what holds it (a frame in
    // the scheme panel) instead of changing the value it sends.
    setFocusPolicy(Qt::StrongFocus);
    SetStyle(TComboStyle::DropDown);
    connect(this, &QComboBox::activated, this, [this] {
        if (OnSelect)
            OnSelect(this);
        if (OnChange)
            OnChange(this);
    });
}

void TComboBox::wheelEvent(QWheelEvent* event)
{
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore();
}

void TComboBox::SetStyle(TComboStyle style)
{
    style_ = style;
    setEditable(style == TComboStyle::DropDown);
    if (isEditable()) {
        setInsertPolicy(QComboBox::NoInsert);
        connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
            if (OnChange)
                OnChange(this);
        });
    }
}

QStringList TComboBox::Items() const
{
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items << itemText(i);
    return items;
}

void TComboBox::SetItems(const QStringList& items)
{
    clear();
    addItems(items);
    setCurrentIndex(-1);
}

int TComboBox::ItemIndex() const
{
    const int index = currentIndex();
    if (index >= 0 && isEditable() && currentText() != itemText(index))
        return -1;
    return index;
}

void TComboBox::SetItemIndex(int index)
{
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
    if (index < 0 && isEditable())
        setEditText(QString());
}

void TComboBox::SetText(const QString& text)
{
    if (isEditable()) {
        const int index = findText(text, Qt::MatchExactly);
        setCurrentIndex(index);
        setEditText(text);
    } else {
        setCurrentIndex(findText(text, Qt::MatchExactly));
    }
}

// ---------------------------------------------------------------------------------------------

TUpDown::TUpDown(QWidget* parent)
    : QWidget(parent), TControl(this), up_(new QToolButton(this)), down_(new QToolButton(this))
{
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {up_, down_}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    up_->setObjectName("Up");
    down_->setObjectName("Down");
    connect(up_, &QToolButton::clicked, this, [this] { Click(TUpDownDirection::Up); });
    connect(down_, &QToolButton::clicked, this, [this] { Click(TUpDownDirection::Down); });
    resize(16, 21);
    placeButtons();
}

void TUpDown::SetMin(int min) { SetRange(min, max_); }
void TUpDown::SetMax(int max) { SetRange(min_, max); }

void TUpDown::SetRange(int min, int max)
{
    min_ = min;
    max_ = max;
    SetPosition(position_);
}

void TUpDown::SetPosition(int position)
{
    const int low = std::min(min_, max_);
    const int high = std::max(min_, max_);
    position_ = std::clamp(position, low, high);
}

void TUpDown::Click(TUpDownDirection button)
{
    if (!isEnabled() || button == TUpDownDirection::None)
        return;
    const long long step = button == TUpDownDirection::Up ? increment_ : -static_cast<long long>(increment_);
    const long long wanted = position_ + step;
    TUpDownDirection direction = button;
    int newValue = position_;
    if (wanted > max_ || wanted < min_) {
        const bool atLimit = button == TUpDownDirection::Up ? position_ >= max_ : position_ <= min_;
        if (wrap_)
            newValue = button == TUpDownDirection::Up ? min_ : max_;
        else if (atLimit)
            direction = TUpDownDirection::None;
        else
            newValue = button == TUpDownDirection::Up ? max_ : min_;
    } else {
        newValue = static_cast<int>(wanted);
    }
    bool allow = true;
    if (OnChangingEx)
        OnChangingEx(this, allow, newValue, direction);
    if (allow)
        position_ = newValue;
}

void TUpDown::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeButtons();
}

void TUpDown::placeButtons()
{
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

// ---------------------------------------------------------------------------------------------

TTabSheet::TTabSheet(QWidget* parent) : QWidget(parent), TControl(this) {}

void TTabSheet::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    AlignControls(this);
}

bool TTabSheet::event(QEvent* event)
{
    if (event->type() == QEvent::LayoutRequest)
        AlignControls(this);
    return QWidget::event(event);
}

TPageControl::TPageControl(QWidget* parent) : QTabWidget(parent), TControl(this)
{
    connect(this, &QTabWidget::currentChanged, this, [this] {
        if (OnChange)
            OnChange(this);
    });
}

TTabSheet* TPageControl::AddSheet(const QString& name, const QString& caption)
{
    auto* sheet = new TTabSheet;
    sheet->SetName(name);
    addTab(sheet, caption);
    return sheet;
}

TTabSheet* TPageControl::Page(int index) const { return dynamic_cast<TTabSheet*>(widget(index)); }
TTabSheet* TPageControl::ActivePage() const { return dynamic_cast<TTabSheet*>(currentWidget()); }
void TPageControl::SetActivePage(TTabSheet* sheet) { setCurrentWidget(sheet); }

QString TPageControl::PageCaption(const TTabSheet* sheet) const
{
    return tabText(indexOf(const_cast<TTabSheet*>(sheet)));
}

void TPageControl::SetPageCaption(TTabSheet* sheet, const QString& caption) { setTabText(indexOf(sheet), caption); }

// ---------------------------------------------------------------------------------------------
// Rows of text.

namespace {
// A control that shows text on one row, which a label beside it must not run into.
bool IsTextControl(const QWidget* w)
{
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractButton*>(w);
}

// Where a vertically centred line of text sits in `area` (widget coordinates).
int CentredBaseline(const QWidget* w, const QRect& area)
{
    const QFontMetrics fm(w->font());
    return area.top() + (area.height() - fm.height() + 1) / 2 + fm.ascent();
}
}

QWidget* TextControlBeside(const QLabel* label)
{
    QWidget* best = nullptr;
    const int middle = label->geometry().center().y();
    for (QObject* o : label->parentWidget()->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w == label || w->isHidden() || !IsTextControl(w) || w->x() <= label->x())
            continue;
        if (middle < w->y() || middle > w->y() + w->height() - 1)
            continue;
        if (!best || w->x() < best->x())
            best = w;
    }
    return best;
}

QRect ComboTextRect(const QComboBox* combo)
{
    QStyleOptionComboBox opt;
    opt.initFrom(combo);
    opt.editable = combo->isEditable();
    opt.frame = combo->hasFrame();
    return combo->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo);
}

QRect EditTextRect(const QLineEdit* edit)
{
    QStyleOptionFrame opt;
    opt.initFrom(edit);
    opt.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit) : 0;
    QRect r = edit->style()->subElementRect(QStyle::SE_LineEditContents, &opt, edit);
    r = r.marginsRemoved(edit->textMargins());
    return r.adjusted(2, 1, -2, -1);   // the line edit's own inner margins
}

QRect ButtonTextRect(const QAbstractButton* button)
{
    QStyleOptionButton opt;
    opt.initFrom(button);
    opt.text = button->text();
    if (qobject_cast<const QCheckBox*>(button))
        return button->style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, button);
    if (qobject_cast<const QRadioButton*>(button))
        return button->style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, button);
    const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, &opt, button);
    return button->rect().adjusted(margin / 2, 0, -margin / 2, 0);
}

int TextBaseline(const QWidget* w)
{
    std::optional<int> inside;
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->alignment() & Qt::AlignVCenter)
            inside = CentredBaseline(w, label->contentsRect());
        else if (label->alignment() & Qt::AlignTop)
            inside = label->contentsRect().top() + QFontMetrics(w->font()).ascent();
    } else if (auto* combo = qobject_cast<const QComboBox*>(w)) {
        inside = CentredBaseline(w, ComboTextRect(combo));
    } else if (auto* edit = qobject_cast<const QLineEdit*>(w)) {
        inside = CentredBaseline(w, EditTextRect(edit));
    } else if (auto* button = qobject_cast<const QAbstractButton*>(w); button && !button->text().isEmpty()) {
        inside = CentredBaseline(w, ButtonTextRect(button));
    }
    return inside ? *inside + w->y() : -1;
}
