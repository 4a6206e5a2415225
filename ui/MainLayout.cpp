// The main form's client area: the scheme view with its grid and the selected device's details,
// the right panel with the catalogue list, the line monitor and the decoding panel, the three
// splitters and the status bar; and the run-time layout rules that keep every panel usable.
#include <QApplication>
#include <QButtonGroup>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLayout>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyle>
#include <QTableView>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>

#include "frames/shared/FrameBase.h"
#include "platform/Abort.h"
#include "ui/CutCaptions.h"
#include "ui/Hints.h"
#include "ui/LineList.h"
#include "ui/Main.h"
#include "ui/Splitter.h"
#include "ui/StatusBar.h"
#include "ui/Wrapped.h"

namespace {

// The scheme grid's columns: caption and width at design.
struct TGridColumn {
    const char* Caption;
    int Width;
};
constexpr TGridColumn GridColumns[10] = {
    // clang-format off
    {"C", 24}, {"Название", 120}, {"Выходы", 72}, {"Знач. 1", 54}, {"Знач. 2", 54},
    {"Входы", 72}, {"Выходы", 72}, {"Обмен", 54}, {"Период", 54}, {"Ошибка", 100},
    // clang-format on
};
constexpr int CaptionHeight = 20;
constexpr int RightSplitterMin = 200;
constexpr int InfoSplitterMin = 140;
constexpr int CommentSplitterMin = 87;

TPanel* Panel(QWidget* parent, const char* name, TAlign align, int size = 0)
{
    auto* p = new TPanel(parent);
    p->SetName(QLatin1String(name));
    p->SetBevelOuter(TPanelBevel::None);
    if (align == TAlign::Top || align == TAlign::Bottom)
        p->SetHeight(size);
    else if (align == TAlign::Left || align == TAlign::Right)
        p->SetWidth(size);
    p->SetAlign(align);
    return p;
}

// The caption strips: bold text in the highlight colour.
TPanel* CaptionPanel(QWidget* parent, const char* name, const QString& caption, TAlign align = TAlign::Top,
                     int size = CaptionHeight)
{
    TPanel* p = Panel(parent, name, align, size);
    p->SetCaption(caption);
    p->SetAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont font = p->font();
    font.setBold(true);
    p->setFont(font);
    p->SetFontColor(p->palette().color(QPalette::Highlight));
    return p;
}

TSplitter* Splitter(QWidget* parent, const char* name, TAlign align, int minSize, TControl* target)
{
    auto* s = new TSplitter(parent);
    s->SetName(QLatin1String(name));
    s->MinSize = minSize;
    s->Target = target;
    if (align == TAlign::Bottom) {
        s->SetHeight(6);
        s->setCursor(Qt::SplitVCursor);
    } else {
        s->SetWidth(6);
    }
    s->SetAlign(align);
    return s;
}

QToolBar* SmallToolBar(QWidget* parent, const char* name, TAlign align, int width)
{
    auto* bar = new TWrapped<QToolBar>(parent);
    bar->SetName(QLatin1String(name));
    bar->setIconSize(QSize(16, 16));
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    bar->SetWidth(width);
    bar->setMovable(false);
    // Its buttons use the whole strip: two of these bars and a pinned round button share a row
    // of the right panel at its narrowest.
    bar->layout()->setContentsMargins(0, 0, 0, 0);
    bar->SetHeight(24);
    bar->SetAlign(align);
    return bar;
}

QToolButton* ToolButton(QToolBar* bar, const char* name, const QString& caption, int tag, const QString& hint)
{
    auto* b = new QToolButton(bar);
    b->setObjectName(QLatin1String(name));
    b->setText(caption);
    b->setProperty("Tag", tag);
    b->setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
    SetHint(b, hint);
    bar->addWidget(b);
    return b;
}

QToolButton* RoundButton(QToolBar* bar, const char* name, int tag, int image, const QString& hint)
{
    QToolButton* b = ToolButton(bar, name, QString(), tag, hint);
    b->setProperty("RoundImageIndex", image);
    b->setAutoRaise(true);
    return b;
}

TMemo* Memo(QWidget* parent, const char* name)
{
    auto* m = new TMemo(parent);
    m->SetName(QLatin1String(name));
    m->SetReadOnly(true);
    m->SetAlign(TAlign::Client);
    return m;
}

// A header control standing alone: its sections come from an empty model's column captions.
QHeaderView* Header(QWidget* parent, const char* name, const QStringList& captions)
{
    auto* header = new TWrapped<QHeaderView>(Qt::Horizontal, parent);
    header->SetName(QLatin1String(name));
    auto* model = new QStandardItemModel(0, int(captions.size()), header);
    model->setHorizontalHeaderLabels(captions);
    header->setModel(model);
    header->setSectionsClickable(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return header;
}

// Keeps a tool bar at the top right (or bottom right) corner of its parent.
void PinRight(QToolBar* bar, bool bottom)
{
    if (!bar || !bar->parentWidget())
        return;
    const QSize hint = bar->sizeHint();
    const QWidget* p = bar->parentWidget();
    bar->setGeometry(p->width() - hint.width() - 2, bottom ? p->height() - hint.height() - 2 : 0, hint.width(),
                     hint.height());
    bar->raise();
}

}   // namespace

void TMirvane2Form::BuildClientArea()
{
    auto* client = new TPanel(this);
    client->SetName(QStringLiteral("ClientPanel"));
    client->SetBevelOuter(TPanelBevel::None);
    setCentralWidget(client);

    StatusBarPanel = Panel(client, "StatusBarPanel", TAlign::Bottom, 19);
    BuildStatusBar(StatusBarPanel);
    MainPanel = Panel(client, "MainPanel", TAlign::Client);
    MainPanel->installEventFilter(this);

    // From right to left: the right panel, its splitter, the scheme view.
    RightPanel = Panel(MainPanel, "RightPanel", TAlign::Right, RightSplitterMin);
    RightSplitter = Splitter(MainPanel, "RightSplitter", TAlign::Right, RightSplitterMin, RightPanel);
    LeftPanel = Panel(MainPanel, "LeftPanel", TAlign::Client);
    BuildRightPanel(RightPanel);
    RightPanel->SetVisible(false);
    BuildLeftPanel(LeftPanel);

    RightSplitter->OnCanResize = [this](QObject* s, int& size, bool& accept) { RightSplitterCanResize(s, size, accept); };
    InfoSplitter->OnCanResize = [this](QObject* s, int& size, bool& accept) { InfoSplitterCanResize(s, size, accept); };
    CommentSplitter->OnCanResize = [this](QObject* s, int& size, bool& accept) {
        CommentSplitterCanResize(s, size, accept);
    };
}

void TMirvane2Form::BuildLeftPanel(TPanel* parent)
{
    // The selected device's frame keeps its width beside the scheme panel's vertical scroll bar.
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    DetailPanel = Panel(parent, "DetailPanel", TAlign::Right, std::max(336, FrameWidth + scrollBar));
    Bevel1 = new TBevel(parent);
    Bevel1->SetName(QStringLiteral("Bevel1"));
    Bevel1->SetShape(TBevelShape::LeftLine);
    Bevel1->SetWidth(2);
    Bevel1->SetAlign(TAlign::Right);
    BuildDetailPanel(DetailPanel);

    TPanel* view = Panel(parent, "SchemeViewPanel", TAlign::Client);
    TPanel* top = Panel(view, "SchemeTopPanel", TAlign::Top, 21);
    Panel4 = CaptionPanel(top, "Panel4", QStringLiteral("Датчики схемы"), TAlign::Left, 104);
    ShowRightToolBar = SmallToolBar(top, "ShowRightToolBar", TAlign::Right, 24);
    ShowRightButton = RoundButton(ShowRightToolBar, "ShowRightButton", 0, 2, QStringLiteral("Показать панель| Показать панель"));
    DeviceMoveToolBar = SmallToolBar(top, "DeviceMoveToolBar", TAlign::Right, 48);
    DeviceMoveUpButton = RoundButton(DeviceMoveToolBar, "DeviceMoveUpButton", 0, 4,
                                     QStringLiteral("Датчик вверх| Переместить датчик вверх"));
    DeviceMoveDownButton = RoundButton(DeviceMoveToolBar, "DeviceMoveDownButton", 0, 5,
                                       QStringLiteral("Датчик вниз| Переместить датчик вниз"));
    AsControl(DeviceMoveToolBar)->SetVisible(false);

    ScrollBox1 = Panel(view, "ScrollBox1", TAlign::Client);
    GridHeaderPanel = Panel(ScrollBox1, "GridHeaderPanel", TAlign::Top, 18);
    QStringList captions;
    for (const auto& c : GridColumns)
        captions << QString::fromUtf8(c.Caption);
    GridHeader = Header(GridHeaderPanel, "GridHeader", captions);
    AsControl(GridHeader)->SetBounds(0, 0, 10000, 18);
    connect(GridHeader, &QHeaderView::sectionResized, this,
            [this](int section, int, int width) { GuardUi([&] { GridHeaderSectionResize(section, width); }); });

    auto* grid = new TWrapped<QTableWidget>(1, 10, ScrollBox1);
    grid->SetName(QStringLiteral("SchemeGrid"));
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(18);
    grid->setShowGrid(false);
    grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    for (int i = 0; i < 10; ++i) {
        grid->setColumnWidth(i, GridColumns[i].Width);
        GridHeader->resizeSection(i, GridColumns[i].Width);
    }
    grid->SetAlign(TAlign::Client);
    SchemeGrid = grid;
    connect(grid->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { SchemeGridTopLeftChanged(); });
}

void TMirvane2Form::BuildDetailPanel(TPanel* parent)
{
    DetailBottomPanel = Panel(parent, "DetailBottomPanel", TAlign::Bottom, 53);
    const auto hexRow = [this](const char* label, const char* edit, int top) {
        auto* l = new TLabel(DetailBottomPanel);
        l->SetName(QLatin1String(label));
        l->SetBounds(6, top + 3, 50, 16);
        auto* e = new TEdit(DetailBottomPanel);
        e->SetName(QLatin1String(edit));
        e->SetReadOnly(true);
        e->setFocusPolicy(Qt::ClickFocus);   // no tab stop
        e->SetBounds(56, top, 272, 21);
        return std::pair{l, e};
    };
    auto [outLabel, outEdit] = hexRow("HexOutLabel", "HexOutStrEdit", 4);
    outLabel->SetCaption(QStringLiteral("Запрос:"));
    HexOutStrEdit_ = outEdit;
    auto [inLabel, inEdit] = hexRow("HexInLabel", "HexInStrEdit", 28);
    inLabel->SetCaption(QStringLiteral("Ответ:"));
    HexInStrEdit_ = inEdit;

    Panel15 = Panel(parent, "Panel15", TAlign::Client);
    CommentPanel = Panel(Panel15, "CommentPanel", TAlign::Bottom, CommentSplitterMin);
    CommentSplitter = Splitter(Panel15, "CommentSplitter", TAlign::Bottom, CommentSplitterMin, CommentPanel);
    CaptionPanel(CommentPanel, "CommentCaptionPanel", QStringLiteral("Комментарий"));
    CommentMemo = Memo(CommentPanel, "CommentMemo");
    CommentMemo->SetParentColor(true);
    CommentMemo->SetVerticalScrollBar(true);

    DetailTopPanel = Panel(Panel15, "DetailTopPanel", TAlign::Client);
    const auto infoRow = [this](const char* row, const char* caption, const char* info, const QString& text) {
        TPanel* r = Panel(DetailTopPanel, row, TAlign::Top, CaptionHeight);
        CaptionPanel(r, caption, text, TAlign::Left, 82);
        TPanel* i = Panel(r, info, TAlign::Client);
        i->SetCaption(QStringLiteral("-"));
        i->SetAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return i;
    };
    DeviceNameInfo = infoRow("NameRowPanel", "NameCaptionPanel", "DeviceNameInfo", QStringLiteral("Название"));
    DeviceAddrInfo = infoRow("AddrRowPanel", "AddrCaptionPanel", "DeviceAddrInfo", QStringLiteral("Адрес"));
    DeviceDescInfo = infoRow("DescRowPanel", "DescCaptionPanel", "DeviceDescInfo", QStringLiteral("Описание"));
    CaptionPanel(DetailTopPanel, "DetailCaptionPanel", QStringLiteral("Подробно"));
    // A frame taller than the room left for it scrolls.
    SchemePanel_ = new TScrollBox(DetailTopPanel);
    SchemePanel_->SetName(QStringLiteral("SchemePanel"));
    SchemePanel_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SchemePanel_->SetAlign(TAlign::Client);
}

void TMirvane2Form::BuildRightPanel(TPanel* parent)
{
    RightBottomPanel = Panel(parent, "RightBottomPanel", TAlign::Bottom, InfoSplitterMin);
    InfoSplitter = Splitter(parent, "InfoSplitter", TAlign::Bottom, InfoSplitterMin, RightBottomPanel);
    RightTopPanel = Panel(parent, "RightTopPanel", TAlign::Client);
    RightTopPanel->installEventFilter(this);

    // The catalogue list (hidden unless the scheme constructor is on).
    DevicePanel = Panel(RightTopPanel, "DevicePanel", TAlign::Client);
    CaptionPanel(DevicePanel, "DeviceCaptionPanel", QStringLiteral("Датчики"));
    DeviceControlToolBar = SmallToolBar(DevicePanel, "DeviceControlToolBar", TAlign::Bottom, 0);
    AddDeviceButton = ToolButton(DeviceControlToolBar, "AddDeviceButton", QStringLiteral("Добавить"), 0,
                                 QStringLiteral("Добавить датчик| Добавление датчика в схему"));
    AddDeviceButton->setProperty("ImageIndex", 9);
    AddDeviceButton->setEnabled(false);
    DeleteDeviceButton = ToolButton(DeviceControlToolBar, "DeleteDeviceButton", QStringLiteral("Удалить"), 0,
                                    QStringLiteral("Удалить датчик| Удаление датчика из схемы"));
    DeleteDeviceButton->setProperty("ImageIndex", 10);
    DeleteDeviceButton->setEnabled(false);
    SameAddrCheckBox = new TCheckBox(DevicePanel);
    SameAddrCheckBox->SetName(QStringLiteral("SameAddrCheckBox"));
    SameAddrCheckBox->SetCaption(QStringLiteral("Разрешать одинаковые адреса"));
    SameAddrCheckBox->SetHint(QStringLiteral(" Разрешение добавления в схему датчиков с одинаковыми адресами"));
    SameAddrCheckBox->SetEnabled(false);
    SameAddrCheckBox->SetHeight(20);
    SameAddrCheckBox->SetAlign(TAlign::Bottom);
    auto* list = new TWrapped<QTreeWidget>(DevicePanel);
    list->SetName(QStringLiteral("DevicesListView"));
    list->setRootIsDecorated(false);
    list->setColumnCount(3);
    list->setHeaderLabels({QStringLiteral("Название"), QStringLiteral("Описание"), QStringLiteral("А")});
    list->headerItem()->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    // Name and address whole, so that rows of one name are told apart at a glance; the
    // description takes the rest of the view and ends in "…" where it is cut (the memo below and
    // the cell's tool tip give it whole).
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    list->setTextElideMode(Qt::ElideRight);
    EndCutCaptionsInEllipsis(list->header());
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->SetAlign(TAlign::Client);
    DevicesListView = list;
    DevicePanel->SetVisible(false);

    // The line monitor.
    LineDataPanel = Panel(RightTopPanel, "LineDataPanel", TAlign::Client);
    CaptionPanel(LineDataPanel, "LineCaptionPanel", QStringLiteral("Линия"));
    TPanel* buttons = Panel(LineDataPanel, "LineButtonsPanel", TAlign::Bottom, 24);
    ToolBar8 = SmallToolBar(buttons, "ToolBar8", TAlign::Left, 130);
    LineDataStartButton = ToolButton(ToolBar8, "LineDataStartButton", QStringLiteral("Пуск"), 1,
                                     QStringLiteral("Запустить заполнение| Запуск заполнения принимаемыми данными"));
    LineDataStartButton->setProperty("ImageIndex", 15);
    LineDataStopButton = ToolButton(ToolBar8, "LineDataStopButton", QStringLiteral("Стоп"), 0,
                                    QStringLiteral("Остановить заполнение| Прекращение заполнения принимаемыми данными"));
    LineDataStopButton->setProperty("ImageIndex", 16);
    auto* lineGroup = new QButtonGroup(ToolBar8);
    for (QToolButton* b : {LineDataStartButton, LineDataStopButton}) {
        b->setCheckable(true);
        lineGroup->addButton(b);
    }
    LineDataStopButton->setChecked(true);
    // Room at the right end for the pinned "Показать расшифровку" button while it shows, so that
    // it covers neither search button.
    ShowInfoRoom = Panel(buttons, "ShowInfoRoomPanel", TAlign::Right, 26);
    FindErrorsToolBar = SmallToolBar(buttons, "FindErrorsToolBar", TAlign::Right, 48);
    FindErrorsPrevButton = RoundButton(FindErrorsToolBar, "FindErrorsPrevButton", 1, 4,
                                       QStringLiteral("Предыдущая ошибка| Найти предыдущую ошибку"));
    FindErrorsNextButton = RoundButton(FindErrorsToolBar, "FindErrorsNextButton", 0, 5,
                                       QStringLiteral("Следующая ошибка| Найти следующую ошибку"));
    ClearDataCheckBox = new TCheckBox(LineDataPanel);
    ClearDataCheckBox->SetName(QStringLiteral("ClearDataCheckBox"));
    ClearDataCheckBox->SetCaption(QStringLiteral("Очищать перед запуском"));
    ClearDataCheckBox->SetHint(QStringLiteral(" Очистка окна от принятых данных перед новым заполнением"));
    ClearDataCheckBox->SetHeight(20);
    ClearDataCheckBox->SetAlign(TAlign::Bottom);
    LineDataScrollBox = Panel(LineDataPanel, "LineDataScrollBox", TAlign::Client);
    LineDataHeader = Header(LineDataScrollBox, "LineDataHeader", {QStringLiteral("Запрос"), QStringLiteral("Ответ")});
    LineDataHeader->resizeSection(0, 68);
    LineDataHeader->setStretchLastSection(true);
    AsControl(LineDataHeader)->SetHeight(18);
    AsControl(LineDataHeader)->SetAlign(TAlign::Top);
    auto* lines = new TWrapped<TLineListView>(LineDataScrollBox);
    lines->SetName(QStringLiteral("LineDataListBox"));
    lines->setItemDelegate(new TLineListDelegate(lines));
    lines->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lines->SetAlign(TAlign::Client);
    LineDataListBox = lines;

    HideRightToolBar = SmallToolBar(RightTopPanel, "HideRightToolBar", TAlign::None, 24);
    HideRightButton = RoundButton(HideRightToolBar, "HideRightButton", 1, 3, QStringLiteral("Скрыть панель| Скрыть панель"));
    ShowInfoToolBar = SmallToolBar(RightTopPanel, "ShowInfoToolBar", TAlign::None, 24);
    ShowInfoButton = RoundButton(ShowInfoToolBar, "ShowInfoButton", 0, 0,
                                 QStringLiteral("Показать расшифровку| Показать расшифровку"));

    // The decoding panel (and the catalogue row's description in its place).
    DescPanel = Panel(RightBottomPanel, "DescPanel", TAlign::Client);
    CaptionPanel(DescPanel, "DescCaptionPanel", QStringLiteral("Описание"));
    DescMemo = Memo(DescPanel, "DescMemo");
    DescPanel->SetVisible(false);
    InfoPanel = Panel(RightBottomPanel, "InfoPanel", TAlign::Client);
    CaptionPanel(InfoPanel, "InfoCaptionPanel", QStringLiteral("Расшифровка"));
    InfoMemo = Memo(InfoPanel, "InfoMemo");
    HideInfoToolBar = SmallToolBar(RightBottomPanel, "HideInfoToolBar", TAlign::None, 24);
    HideInfoButton = RoundButton(HideInfoToolBar, "HideInfoButton", 1, 1,
                                 QStringLiteral("Скрыть расшифровку| Скрыть расшифровку"));
    RightBottomPanel->installEventFilter(this);
    RightBottomPanel->SetVisible(false);
}

void TMirvane2Form::BuildStatusBar(TPanel* parent)
{
    StatusBar = new TStatusBar(parent);
    StatusBar->SetName(QStringLiteral("StatusBar"));
    StatusBar->Panels = {{494, QString(), false}, {146, QString(), false}, {74, QString(), true}};
    StatusBar->SetAlign(TAlign::Client);
    StatusBar->OnDrawPanel = [this](TStatusBar* bar, QPainter& canvas, int panel, const QRect& rect) {
        StatusBarDrawPanel(bar, canvas, panel, rect);
    };
    StatusBar->OnMouseUp = [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
        GuardUi([&] { StatusBarMouseUp(button, shift, x, y); });
    };
    StatusBar->OnResize = [this](QObject*) { StatusBarResize(); };
}

void TMirvane2Form::FitRightPanelToTexts()
{
    // The catalogue's check box reads whole at the panel's first width; the splitter still lets
    // the user make it as narrow as its minimum.
    RightPanelWidth = std::max(RightSplitterMin, SameAddrCheckBox->sizeHint().width() + 2);
    RightPanel->SetWidth(RightPanelWidth);
}

void TMirvane2Form::ApplyRoundButtonImages()
{
    for (QToolButton* b : findChildren<QToolButton*>()) {
        const QVariant image = b->property("RoundImageIndex");
        if (image.isValid())
            b->setIcon(ButtonIcon(RoundButtonsImages, RoundButtonsDisImages, image.toInt()));
    }
}

void TMirvane2Form::FitToolBars()
{
    // Side-by-side tool bars take the width of their buttons as they are drawn, images and all,
    // so that none goes behind the bar's overflow.
    for (QToolBar* bar : findChildren<QToolBar*>()) {
        TControl* c = AsControl(bar);
        if (!c || c->Align() == TAlign::Top || c->Align() == TAlign::Bottom)
            continue;
        const QMargins margins = bar->layout()->contentsMargins();
        int width = margins.left() + margins.right() - bar->layout()->spacing();
        for (QToolButton* b : bar->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
            if (b->objectName() != QLatin1String("qt_toolbar_ext_button"))
                width += b->sizeHint().width() + bar->layout()->spacing();
        c->SetWidth(std::max(width, bar->sizeHint().width()));
    }
}

// ---------------------------------------------------------------------------------------------
// Layout rules.

void TMirvane2Form::FormResize()
{
    RightPanelWidth = std::max(RightPanelWidth, RightSplitter->MinSize);
    InfoPanelHeight = std::max(InfoPanelHeight, InfoSplitter->MinSize);
    CommentPanelHeight = std::max(CommentPanelHeight, CommentSplitter->MinSize);

    // The right panel gets its wanted width as long as the scheme view keeps 200 pixels.
    const int w = MainPanel->Width() - RightSplitter->Width();
    RightPanel->SetWidth(w - std::max(w - RightPanelWidth, RightSplitterMin));
    const int h = MainPanel->Height() - InfoSplitter->Height();
    RightBottomPanel->SetHeight(h - std::max(h - InfoPanelHeight - 2, InfoSplitterMin) - 2);
    // Above the comment stays at least the info splitter's minimum.
    const int a = MainPanel->Height() - CommentSplitter->Height() - DetailBottomPanel->Height();
    CommentPanel->SetHeight(a - std::max(a - CommentPanelHeight - 2, InfoSplitterMin) - 2);
}

void TMirvane2Form::RightSplitterCanResize(QObject*, int& NewSize, bool& Accept)
{
    RightPanelWidth = NewSize;
    Accept = true;
}

void TMirvane2Form::InfoSplitterCanResize(QObject*, int& NewSize, bool& Accept)
{
    InfoPanelHeight = NewSize;
    Accept = true;
}

void TMirvane2Form::CommentSplitterCanResize(QObject*, int& NewSize, bool& Accept)
{
    CommentPanelHeight = NewSize;
    Accept = true;
}

void TMirvane2Form::RightPanelButtonClick(QObject* Sender)
{
    const bool hide = Sender && Sender->property("Tag").toInt() != 0;
    AsControl(ShowRightToolBar)->SetVisible(hide);
    RightPanel->SetVisible(!hide);
    RightSplitter->SetLeft(RightPanel->Left());
    AlignControls(MainPanel);
}

void TMirvane2Form::DataInfoButtonClick(QObject* Sender)
{
    const bool hide = Sender && Sender->property("Tag").toInt() != 0;
    AsControl(ShowInfoToolBar)->SetVisible(hide);
    ShowInfoRoom->SetVisible(hide);
    RightBottomPanel->SetVisible(!hide);
    InfoSplitter->SetTop(RightBottomPanel->Top());
    AlignControls(RightPanel);
}

void TMirvane2Form::SchemeGridTopLeftChanged()
{
    // The header scrolls with the grid.
    AsControl(GridHeader)->SetLeft(-SchemeGrid->horizontalScrollBar()->value());
}

bool TMirvane2Form::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == MainPanel)
            FormResize();
        else if (watched == RightTopPanel) {
            PinRight(HideRightToolBar, false);
            PinRight(ShowInfoToolBar, true);
            ShowInfoRoom->SetWidth(ShowInfoToolBar->width() + 2);
        } else if (watched == RightBottomPanel)
            PinRight(HideInfoToolBar, false);
    }
    // The form sees keys first: once per key, at the widget that receives it first.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this &&
        watched == (QApplication::focusWidget() ? static_cast<QObject*>(QApplication::focusWidget()) : this)) {
        auto* key = static_cast<QKeyEvent*>(event);
        int code = key->key();
        GuardUi([&] { FormKeyDown(watched, code, key->modifiers()); });
        if (code == 0)
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
