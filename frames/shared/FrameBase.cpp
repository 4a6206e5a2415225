#include "frames/shared/FrameBase.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPalette>
#include <algorithm>
#include <functional>
#include <utility>

const QString RequestHeaderCaption = QStringLiteral(" Запрос");
const QString AnswerHeaderCaption = QStringLiteral(" Ответ");

namespace {
constexpr int EditHeight = 21;
constexpr int ControlHeight = 17;
constexpr int UpDownWidth = 15;

// What the user moves about with rather than sets: the tabs of a page control and the scrolling
// of a read-only text. A side without data keeps them, so that what it holds can still be read.
bool Navigates(const TControl* control)
{
    if (dynamic_cast<const TPageControl*>(control))
        return true;
    const auto* memo = dynamic_cast<const TMemo*>(control);
    return memo && memo->ReadOnly();
}
}

QFont FrameFont()
{
    // The frames are laid out for Liberation Sans Bold 16 px. Another family gets the largest
    // size, down to 12 px, at which the longest output state still fits the 219 px that the
    // output-state combos give it (the tightest text of all frames).
    static const QString Longest = QStringLiteral("Вкл., клапан заблокирован");
    constexpr int Room = 219;
    QString family = QStringLiteral("Liberation Sans");
    for (const QString& fallback : {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")})
        if (!QFontDatabase::hasFamily(family))
            family = fallback;
    QFont font(family);
    font.setBold(true);
    for (int size = 16;; --size) {
        font.setPixelSize(size);
        if (size == 12 || QFontMetrics(font).horizontalAdvance(Longest) <= Room)
            return font;
    }
}

TFrameBase::TFrameBase(QWidget* owner, TDeviceInfo* info, bool hasRequest) : TFrame(owner), Info(info)
{
    static const QFont font = FrameFont();
    setFont(font);
    resize(FrameWidth, 0);
    if (hasRequest) {
        Panel1 = addHeader(QStringLiteral("Panel1"), RequestHeaderCaption);
        OutPanel = addSidePanel(QStringLiteral("OutPanel"));
    }
    Panel2 = addHeader(QStringLiteral("Panel2"), AnswerHeaderCaption);
    InPanel = addSidePanel(QStringLiteral("InPanel"));
    if (Info) {
        Info->Frame = this;
        Info->View = this;
    }
}

TFrameBase::~TFrameBase()
{
    if (!Info)
        return;
    static_cast<TDeviceSlots&>(*Info) = TDeviceSlots{};
    Info->View = nullptr;
}

void TFrameBase::Place(const QString& name, const TFramePlace* place)
{
    SetName(name);
    SetTag(Info);
    // Every place is the window's handlers (TFramePlace cannot be made on its own).
    const auto* handlers = static_cast<const TFrameHandlers*>(place);
    if (handlers)
        SetParent(handlers->Parent);
    BindControls(Info->RequestPanel, handlers);
    BindControls(Info->AnswerPanel, handlers);
}

QWidget* TFrameBase::side(bool request) const
{
    return request ? Info->RequestPanel.data() : Info->AnswerPanel.data();
}

void TFrameBase::EnableSide(bool request)
{
    for (TControl* control : Controls(side(request))) {
        if (auto* edit = dynamic_cast<TEdit*>(control))
            edit->SetReadOnly(false);
        control->SetEnabled(true);
    }
}

void TFrameBase::ClearSide(bool request)
{
    behind_[request ? 0 : 1] = false;   // nothing of the images is to be shown any more
    for (TControl* control : Controls(side(request))) {
        if (auto* edit = dynamic_cast<TEdit*>(control)) {
            edit->SetReadOnly(false);
            edit->SetText(QString());
        } else if (auto* combo = dynamic_cast<TComboBox*>(control)) {
            combo->SetEnabled(false);
            combo->SetItemIndex(-1);
        } else {
            control->SetEnabled(Navigates(control));
        }
    }
}

void TFrameBase::EmptySide(bool request)
{
    behind_[request ? 0 : 1] = false;
    for (TControl* control : Controls(side(request))) {
        if (control->ClassNameIs("TEdit"))
            static_cast<TEdit*>(control)->SetText(QString());
        else if (control->ClassNameIs("TCheckBox") &&
                 std::find(frameState_.begin(), frameState_.end(), control) == frameState_.end())
            static_cast<TCheckBox*>(control)->SetChecked(false);
        else if (control->ClassNameIs("TComboBox"))
            static_cast<TComboBox*>(control)->SetItemIndex(-1);
    }
}

TPanel* TFrameBase::addHeader(const QString& name, const QString& caption)
{
    auto* header = new TPanel(this);
    header->SetName(name);
    header->SetBevelOuter(TPanelBevel::None);
    header->SetCaption(caption);
    header->SetAlignment(Qt::AlignLeft);
    header->SetColor(palette().color(QPalette::Highlight));
    header->SetFontColor(palette().color(QPalette::Base));
    header->SetHeight(FrameHeaderHeight);
    header->SetAlign(TAlign::Top);
    return header;
}

TPanel* TFrameBase::addSidePanel(const QString& name)
{
    auto* panel = new TPanel(this);
    panel->SetName(name);
    panel->SetBevelOuter(TPanelBevel::None);
    panel->SetHeight(0);
    panel->SetAlign(TAlign::Top);
    return panel;
}

void TFrameBase::FitHeight()
{
    int height = 0;
    for (TControl* control : Controls(this))
        if (control->Visible() && control->Align() == TAlign::Top)
            height += control->Height();
    resize(FrameWidth, height);
    AlignControls(this);
}

TLabel* TFrameBase::AddLabel(QWidget* parent, const QString& name, const QString& caption, int left, int top)
{
    auto* label = new TLabel(parent);
    label->SetName(name);
    label->SetCaption(caption);
    label->adjustSize();
    label->SetBounds(left, top, label->width(), label->height());
    return label;
}

TEdit* TFrameBase::AddEdit(QWidget* parent, const QString& name, int left, int top, int width, int kind)
{
    auto* edit = new TEdit(parent);
    edit->SetName(name);
    edit->Tag = kind;
    edit->SetReadOnly(true);
    edit->SetBounds(left, top, width, EditHeight);
    return edit;
}

TUpDown* TFrameBase::AddUpDown(QWidget* parent, const QString& name, const TEdit* edit, int min, int max,
                               int increment, bool wrap)
{
    auto* upDown = new TUpDown(parent);
    upDown->SetName(name);
    upDown->SetRange(min, max);
    upDown->SetIncrement(increment);
    upDown->SetWrap(wrap);
    // Over the right end of the edit: its left edge lies inside the edit.
    upDown->SetBounds(edit->Left() + edit->Width() - UpDownWidth, edit->Top(), UpDownWidth, edit->Height());
    upDown->raise();
    return upDown;
}

TCheckBox* TFrameBase::AddCheckBox(QWidget* parent, const QString& name, const QString& caption, int left,
                                   int top, int width, bool checked)
{
    auto* box = new TCheckBox(parent);
    box->SetName(name);
    box->SetCaption(caption);
    box->SetChecked(checked);
    box->SetBounds(left, top, width, ControlHeight);
    return box;
}

TCheckBox* TFrameBase::AddFrameStateBox(QWidget* parent, const QString& name, const QString& caption, int left,
                                        int top, int width)
{
    TCheckBox* box = AddCheckBox(parent, name, caption, left, top, width);
    frameState_.push_back(box);
    return box;
}

TComboBox* TFrameBase::AddComboBox(QWidget* parent, const QString& name, const QStringList& items, int left,
                                   int top, int width, TComboStyle style)
{
    auto* combo = new TComboBox(parent);
    combo->SetName(name);
    combo->SetStyle(style);
    combo->SetItems(items);
    combo->SetBounds(left, top, width, EditHeight);
    return combo;
}

TBevel* TFrameBase::AddBevel(QWidget* parent, const QString& name, int left, int top, int width, int height,
                             TBevelShape shape)
{
    auto* bevel = new TBevel(parent);
    bevel->SetName(name);
    bevel->SetShape(shape);
    bevel->SetBounds(left, top, width, height);
    return bevel;
}

TFrameBase::TSingleInputRow TFrameBase::AddSingleInputRow(int bevelTop, const QStringList& items, int comboLeft,
                                                          int comboWidth)
{
    constexpr int RowHeight = 28;
    const int top = bevelTop + 6;
    TSingleInputRow row{};
    row.Bevel = AddBevel(InPanel, QStringLiteral("Bevel1"), 6, bevelTop, 312, 3, TBevelShape::BottomLine);
    row.Heading = AddLabel(InPanel, QStringLiteral("INLabel"), QStringLiteral("IN:"), 6, top);
    row.Heading->SetBounds(6, top, 42, RowHeight);
    row.Number = AddLabel(InPanel, QStringLiteral("IN1Label"), QStringLiteral("1"), 48, top);
    row.Number->SetBounds(48, top, 18, RowHeight);
    row.Number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row.Combo = AddComboBox(InPanel, QStringLiteral("IN1ComboBox"), items, comboLeft, top, comboWidth);
    return row;
}

TPanel* TFrameBase::AddPanel(QWidget* parent, const QString& name, int left, int top, int width, int height)
{
    auto* panel = new TPanel(parent);
    panel->SetName(name);
    panel->SetBevelOuter(TPanelBevel::None);
    panel->SetBounds(left, top, width, height);
    return panel;
}

TRadioButton* TFrameBase::AddRadioButton(QWidget* parent, const QString& name, const QString& caption, int left,
                                         int top, int width)
{
    auto* button = new TRadioButton(parent);
    button->SetName(name);
    button->SetCaption(caption);
    button->SetBounds(left, top, width, ControlHeight);
    return button;
}

void TFrameBase::LineUpLabels(QWidget* parent)
{
    std::vector<TLabel*> labels;
    for (TControl* control : Controls(parent)) {
        if (auto* label = dynamic_cast<TLabel*>(control))
            labels.push_back(label);
        // Controls() lists only the kit's controls, never a null one.
        else if (control->ClassNameIs("TPanel") || control->ClassNameIs("TGroupBox"))   // NOLINT(clang-analyzer-core.CallAndMessage)
            LineUpLabels(control->Widget());
    }
    // Right to left, so that a label lines up with a label beside it after that one has moved.
    std::stable_sort(labels.begin(), labels.end(), [](TLabel* a, TLabel* b) { return a->Left() > b->Left(); });
    for (TLabel* label : labels) {
        const QWidget* beside = TextControlBeside(label);
        const int target = beside ? TextBaseline(beside) : -1;
        const int own = TextBaseline(label);
        if (target >= 0 && own >= 0)
            label->SetTop(label->Top() + target - own);
    }
}

void TFrameBase::StartSide(TPanel* side)
{
    const std::vector<TControl*> controls = Controls(side);
    const bool editable = std::any_of(controls.begin(), controls.end(), [](TControl* c) {
        auto* edit = dynamic_cast<TEdit*>(c);
        return edit && !edit->ReadOnly();
    });
    for (TControl* control : controls)
        control->SetEnabled(editable || dynamic_cast<TEdit*>(control) || Navigates(control));
}

namespace {
// The slot, run after `catchUp`; no slot stays no slot.
template <class... Args>
std::function<void(Args...)> AfterCatchUp(const std::function<void(Args...)>& slot, std::function<void()> catchUp)
{
    if (!slot)
        return {};
    return [slot, catchUp = std::move(catchUp)](Args... args) {
        catchUp();
        slot(args...);
    };
}
}   // namespace

void TFrameBase::FillSlots(const TDeviceSlots& s)
{
    for (TPanel* side : {OutPanel, InPanel})
        if (side) {
            LineUpLabels(side);
            StartSide(side);
        }
    Info->RequestPanel = OutPanel;
    Info->AnswerPanel = InPanel;
    own_ = s;
    TDeviceSlots calls = s;
    if (s.RequestToFrame)
        calls.RequestToFrame = [this] { showSide(true); };
    if (s.AnswerToFrame)
        calls.AnswerToFrame = [this] { showSide(false); };
    // What reads the controls reads them once what is behind them is shown.
    calls.FrameToRequest = AfterCatchUp(s.FrameToRequest, [this] { catchUp(false); });
    calls.FrameToAnswer = AfterCatchUp(s.FrameToAnswer, [this] { catchUp(true); });
    calls.GridToRequest = AfterCatchUp(s.GridToRequest, [this] { catchUp(false); });
    calls.GridToAnswer = AfterCatchUp(s.GridToAnswer, [this] { catchUp(true); });
    static_cast<TDeviceSlots&>(*Info) = calls;
}

void TFrameBase::showSide(bool request)
{
    const std::size_t side = request ? 0 : 1;
    // A stream of requests (a terminal's text) cannot wait: only its last one would be shown.
    if (!isVisible() && !(request && TakesEveryRequest())) {
        behind_[side] = true;
        return;
    }
    behind_[side] = false;
    (request ? own_.RequestToFrame : own_.AnswerToFrame)();
}

void TFrameBase::catchUp(bool answer)
{
    for (std::size_t side = 0; side < (answer ? 2U : 1U); ++side) {
        if (!behind_[side])
            continue;
        behind_[side] = false;
        TUpdatingControls updating;   // the program writes: the change handlers stay out
        (side == 0 ? own_.RequestToFrame : own_.AnswerToFrame)();
    }
}

void TFrameBase::showEvent(QShowEvent* event)
{
    catchUp(true);
    TFrame::showEvent(event);
}
