#pragma once
// The widget kit: thin controls over Qt Widgets that carry the properties and events the frames
// and the main window are written against (Tag, Text, ReadOnly, Checked, ItemIndex, OnChange,
// OnClick, OnSelect, OnKeyPress, OnKeyDown, OnChangingEx, Align ...), so that frame code reads
// like its own description.
//
// Rules kept on purpose (the handlers depend on them):
// - an edit's OnChange fires on programmatic text changes too;
// - a check box's (and radio button's) OnClick fires on programmatic Checked changes;
// - a combo box's OnSelect fires on user choices only;
// - events are plain closures tested for presence before a call;
// - a control's Name is its Qt object name, so tests find it by name.
#include <QChar>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPoint>
#include <QPointer>
#include <QRadioButton>
#include <QRect>
#include <QScrollArea>
#include <QString>
#include <QStringList>
#include <QTabWidget>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

class QToolButton;

// Modifier keys of a key event (Shift, Control, Alt).
using TShiftState = Qt::KeyboardModifiers;

// clang-format off
enum class TAlign { None, Top, Bottom, Left, Right, Client };
enum class TUpDownDirection { None, Up, Down };
enum class TComboStyle { DropDown, DropDownList };
enum class TBevelShape { Box, Frame, TopLine, BottomLine, LeftLine, RightLine };
enum class TPanelBevel { None, Raised, Lowered };
// clang-format on

using TNotifyEvent = std::function<void(QObject* Sender)>;
// Key is the character typed; the handler may replace it, or set it to 0 to swallow it.
using TKeyPressEvent = std::function<void(QObject* Sender, QChar& Key)>;
// Key is a Qt::Key value; the handler sets it to 0 to consume the key.
using TKeyEvent = std::function<void(QObject* Sender, int& Key, TShiftState Shift)>;
// An up-down click: NewValue is the position the click would give, Direction None at a limit.
using TUDChangingEx =
    std::function<void(QObject* Sender, bool& AllowChange, int NewValue, TUpDownDirection Direction)>;

// The modifiers of the key event being dispatched to a kit control (for key-press handlers,
// which get a character only); outside a dispatch, the application's current modifiers.
TShiftState KeyShiftState();

// ---------------------------------------------------------------------------------------------
// The part every kit control shares, beside its Qt widget class.
class TControl {
public:
    explicit TControl(QWidget* self);
    virtual ~TControl() = default;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    // A free value for the program: a kind number, or a pointer (a device, a stepped edit).
    // A control is held in a Tag as its QWidget (TagWidget), any other object as itself.
    std::intptr_t Tag = 0;
    template <class T> T* TagAs() const { return reinterpret_cast<T*>(Tag); }
    template <class T> void SetTag(T* pointer) { Tag = reinterpret_cast<std::intptr_t>(pointer); }
    QWidget* TagWidget() const { return TagAs<QWidget>(); }
    void SetTagWidget(QWidget* widget) { SetTag(widget); }

    // The exact class name ("TEdit"); a class derived from a kit control names itself.
    virtual const char* ClassName() const = 0;
    bool ClassNameIs(const char* name) const;

    QWidget* Widget() const { return self_; }
    QString Name() const;
    void SetName(const QString& name);

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);
    void SetBounds(int left, int top, int width, int height);

    bool Visible() const;   // the control's own flag, whatever its parents show
    void SetVisible(bool visible);
    bool Enabled() const;   // the control's own flag
    void SetEnabled(bool enabled);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    // "short|long": the short part is the tool tip, the long part goes to the status bar.
    QString Hint() const { return hint_; }
    void SetHint(const QString& hint);
    QString ShortHint() const;
    QString LongHint() const;

    QColor Color() const;
    void SetColor(const QColor& color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool parentColor);

    // Creation order among siblings: the order aligned controls stack in.
    std::uint64_t CreationOrder() const { return creationOrder_; }

private:
    QWidget* self_;
    TAlign align_ = TAlign::None;
    QString hint_;
    bool parentColor_ = true;
    std::uint64_t creationOrder_;
};

// The kit control behind a widget, or nullptr for a widget that is none.
TControl* AsControl(QObject* object);
// Class membership: the control is of class T or derived from it.
template <class T> bool InheritsFrom(const QObject* object) { return dynamic_cast<const T*>(object) != nullptr; }

// The direct child controls of a container, in creation order.
std::vector<TControl*> Controls(const QWidget* parent);
// The topmost direct child control whose rectangle holds the point (parent coordinates).
// Disabled controls count; hidden ones do not.
TControl* ControlAtPos(const QWidget* parent, QPoint pos);
// Places the aligned children of a container (Top, Bottom, Left, Right, then Client).
void AlignControls(QWidget* parent);
// The frame that owns a control: its nearest TFrame ancestor (the frame itself for a frame).
class TFrame;
TFrame* OwnerFrame(QObject* control);

#define MV_KIT_CLASS(Name) \
    const char* ClassName() const override { return #Name; }

// ---------------------------------------------------------------------------------------------
// Containers: they place their aligned children.

class TPanel : public QFrame, public TControl {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent = nullptr);
    MV_KIT_CLASS(TPanel)

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    Qt::Alignment Alignment() const { return alignment_; }
    void SetAlignment(Qt::Alignment alignment);
    void SetBevelOuter(TPanelBevel bevel);
    void SetFontColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    QString caption_;
    Qt::Alignment alignment_ = Qt::AlignCenter;
};

class TFrame : public QFrame, public TControl {
    Q_OBJECT
public:
    // owner: the component that the frame belongs to (kept for reference; the device object
    // deletes the frame). The frame starts without a parent and hidden.
    explicit TFrame(QWidget* owner = nullptr);
    MV_KIT_CLASS(TFrame)

    QWidget* Owner() const { return owner_; }
    void SetParent(QWidget* parent);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    QPointer<QWidget> owner_;
};

class TGroupBox : public QGroupBox, public TControl {
    Q_OBJECT
public:
    explicit TGroupBox(QWidget* parent = nullptr);
    MV_KIT_CLASS(TGroupBox)
    QString Caption() const { return title(); }
    void SetCaption(const QString& caption) { setTitle(caption); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
};

// A scroll box: its controls lie on a surface that grows to hold every shown one, and the view
// scrolls over it with the wheel and its scroll bars. Tabbing into a control that lies outside
// the view scrolls it into view.
class TScrollBox : public QScrollArea, public TControl {
    Q_OBJECT
public:
    explicit TScrollBox(QWidget* parent = nullptr);
    MV_KIT_CLASS(TScrollBox)

    // The parent of the box's controls.
    QWidget* Surface() const { return widget(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitSurface();
};

// ---------------------------------------------------------------------------------------------
// Controls.

class TLabel : public QLabel, public TControl {
    Q_OBJECT
public:
    explicit TLabel(QWidget* parent = nullptr);
    MV_KIT_CLASS(TLabel)
    QString Caption() const { return text(); }
    void SetCaption(const QString& caption) { setText(caption); }
};

class TBevel : public QFrame, public TControl {
    Q_OBJECT
public:
    explicit TBevel(QWidget* parent = nullptr);
    MV_KIT_CLASS(TBevel)
    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape shape);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TBevelShape shape_ = TBevelShape::Box;
};

class TEdit : public QLineEdit, public TControl {
    Q_OBJECT
public:
    explicit TEdit(QWidget* parent = nullptr);
    MV_KIT_CLASS(TEdit)

    QString Text() const { return text(); }
    void SetText(const QString& text);
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }
    // The caret position, counted in characters from the start.
    int SelStart() const { return cursorPosition(); }
    void SetSelStart(int position) { setCursorPosition(position); }
    void SetMaxLength(int length) { setMaxLength(length > 0 ? length : 32767); }

    // A key-down sent by the program (the up-down buttons step an edit this way): the key-down
    // handler runs as for a typed key, also while the edit is read-only or disabled.
    void SendKeyDown(int key, TShiftState shift = {});

    TNotifyEvent OnChange;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyDown;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

class TMemo : public QPlainTextEdit, public TControl {
    Q_OBJECT
public:
    explicit TMemo(QWidget* parent = nullptr);
    MV_KIT_CLASS(TMemo)

    QString Text() const { return toPlainText(); }
    void SetText(const QString& text) { setPlainText(text); }
    QStringList Lines() const;
    void AddLine(const QString& line);
    void Clear() { clear(); }
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }
    void SetWordWrap(bool wrap);
    void SetVerticalScrollBar(bool shown);
    void ScrollToEnd();

    TNotifyEvent OnChange;
};

class TCheckBox : public QCheckBox, public TControl {
    Q_OBJECT
public:
    explicit TCheckBox(QWidget* parent = nullptr);
    MV_KIT_CLASS(TCheckBox)
    bool Checked() const { return isChecked(); }
    void SetChecked(bool checked) { setChecked(checked); }
    QString Caption() const { return text(); }
    void SetCaption(const QString& caption) { setText(caption); }

    TNotifyEvent OnClick;   // user clicks and programmatic changes of Checked alike
};

class TRadioButton : public QRadioButton, public TControl {
    Q_OBJECT
public:
    explicit TRadioButton(QWidget* parent = nullptr);
    MV_KIT_CLASS(TRadioButton)
    bool Checked() const { return isChecked(); }
    void SetChecked(bool checked) { setChecked(checked); }
    QString Caption() const { return text(); }
    void SetCaption(const QString& caption) { setText(caption); }

    TNotifyEvent OnClick;   // fires when the button becomes checked, by the user or the program
};

class TComboBox : public QComboBox, public TControl {
    Q_OBJECT
public:
    explicit TComboBox(QWidget* parent = nullptr);
    MV_KIT_CLASS(TComboBox)

    TComboStyle Style() const { return style_; }
    void SetStyle(TComboStyle style);
    QStringList Items() const;
    void SetItems(const QStringList& items);
    void AddItem(const QString& item) { addItem(item); }
    // -1 when nothing is selected, or when the text of an editable combo is no item.
    int ItemIndex() const;
    void SetItemIndex(int index);
    QString Text() const { return currentText(); }
    void SetText(const QString& text);

    TNotifyEvent OnSelect;   // user choices only
    TNotifyEvent OnChange;   // user changes of the text or the selection

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    TComboStyle style_ = TComboStyle::DropDown;
};

// Two small arrow buttons that step nothing themselves: they keep their own Position within
// Min..Max and report each click through OnChangingEx with its direction, or with no direction
// when the click would leave the range (and Wrap is off).
class TUpDown : public QWidget, public TControl {
    Q_OBJECT
public:
    explicit TUpDown(QWidget* parent = nullptr);
    MV_KIT_CLASS(TUpDown)

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    int Increment() const { return increment_; }
    bool Wrap() const { return wrap_; }
    void SetMin(int min);
    void SetMax(int max);
    void SetRange(int min, int max);
    void SetPosition(int position);
    void SetIncrement(int increment) { increment_ = increment; }
    void SetWrap(bool wrap) { wrap_ = wrap; }

    // A click on one of the buttons, as the user makes it.
    void Click(TUpDownDirection button);

    TUDChangingEx OnChangingEx;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeButtons();

    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int increment_ = 1;
    bool wrap_ = false;
    QToolButton* up_;
    QToolButton* down_;
};

// A page control: tabs each holding one sheet.
class TTabSheet : public QWidget, public TControl {
    Q_OBJECT
public:
    explicit TTabSheet(QWidget* parent = nullptr);
    MV_KIT_CLASS(TTabSheet)

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
};

class TPageControl : public QTabWidget, public TControl {
    Q_OBJECT
public:
    explicit TPageControl(QWidget* parent = nullptr);
    MV_KIT_CLASS(TPageControl)

    TTabSheet* AddSheet(const QString& name, const QString& caption);
    int PageCount() const { return count(); }
    TTabSheet* Page(int index) const;
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* sheet);
    QString PageCaption(const TTabSheet* sheet) const;
    void SetPageCaption(TTabSheet* sheet, const QString& caption);

    TNotifyEvent OnChange;   // the shown page changed (by the user or the program)
};

// ---------------------------------------------------------------------------------------------
// Rows of text: where a control shows its one row of text, so that a label lines up with it.

// The text control (label, edit, combo box, button) of the label's parent beside it: the
// nearest one whose left edge lies right of the label's and whose height spans its middle.
QWidget* TextControlBeside(const QLabel* label);
// The baseline of a widget's row of text in its parent's coordinates; -1 when it shows none.
int TextBaseline(const QWidget* widget);
// Where a combo box draws its chosen item, an edit its text, a button its caption.
QRect ComboTextRect(const QComboBox* combo);
QRect EditTextRect(const QLineEdit* edit);
QRect ButtonTextRect(const QAbstractButton* button);
