#include "ui/Main.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStandardPaths>
#include <QStatusTipEvent>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include "model/LineMode.h"
#include "model/OpenSchemeThread.h"
#include "model/Session.h"
#include "platform/Abort.h"
#include "platform/Files.h"
#include "ui/PortControl.h"
#include "ui/StatusBar.h"

namespace {
TMirvane2Form* mainForm = nullptr;
}   // namespace

TMirvane2Form* Mirvane2Form() { return mainForm; }

QString SettingsFilePath()
{
    // A test run of the program names its own file, so that it never reads a developer's
    // settings (and the ports they name).
    const QString forced = DecodeName(qgetenv("MIRVANE_SETTINGS_FILE"));
    if (!forced.isEmpty())
        return forced;
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + QStringLiteral(".ini");
    if (QFileInfo(programDir).isWritable())
        return QDir(programDir).filePath(name);
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("Mirvane2/") + name);
}

// The window's resources live in the static ui library: registered once, before first use.
static void InitMainResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(Mirvane2);
        return true;
    }();
    (void)done;
}

const QIcon& MainIcon()
{
    InitMainResources();
    static const QIcon icon = [] {
        QIcon made;
        made.addFile(QStringLiteral(":/images/MainIcon.png"));
        made.addFile(QStringLiteral(":/images/MainIcon16.png"));
        return made;
    }();
    return icon;
}

void PostNewDevicesNotice()
{
    if (TMirvane2Form* form = mainForm)
        QCoreApplication::postEvent(form, new QEvent(QEvent::Type(NewDevicesEvent)));
}

namespace {

// The line monitor as the line log fills it.
class TWindowLineListView final : public ILineListView {
public:
    explicit TWindowLineListView(TMirvane2Form& form) : form_(form) {}
    int TopIndex() const override { return form_.LineListTopIndex(); }
    int ItemIndex() const override { return form_.LineListItemIndex(); }
    void SetItemIndex(int index) override { form_.SetLineListItemIndex(index); }
    int VisibleCount() const override { return form_.LineListVisibleCount(); }
    void SetCount(int count) override { form_.SetLineListCount(count); }
    void BeginUpdate() override { form_.BeginLineListUpdate(); }
    void EndUpdate() override { form_.EndLineListUpdate(); }
    void ShowRecordInfo() override { form_.ShowLineRecordInfo(); }
    bool Recording() const override { return form_.LineLogOn(); }

private:
    TMirvane2Form& form_;
};

// The status bar and the hex fields as the scheme walk and the line engine see them.
class TWindowStatusView final : public IStatusView {
public:
    explicit TWindowStatusView(TMirvane2Form& form) : form_(form) {}
    void SetPanelText(int panel, const QString& text) override { form_.SetStatusText(panel, text); }
    int PanelWidth(int index) const override { return form_.StatusPanelWidth(index); }
    void ShowProgress(int x) override
    {
        if (form_.ProgressX() == x)
            return;
        form_.SetProgressX(x);
        form_.UpdateStatusBarRegion();
    }
    void ShowDeviceTexts(const TDeviceInfo& device, const QString& request, const QString& answer) override
    {
        if (&device == form_.CurrentDevice())
            form_.ShowHexTexts(request, answer);
    }
    int UpdateTime() const override { return form_.UpdateTime(); }

private:
    TMirvane2Form& form_;
};

}   // namespace

TMirvane2Form::TMirvane2Form(TSession& session, TPortControl& ports, QWidget* owner)
    : QMainWindow(owner), Document(session.Document), Session(session), Ports(ports)
{
    InitMainResources();
    IniFileName = SettingsFilePath();
    StartDir = CurrentFolder() + QLatin1Char('/');
    mainForm = this;
    setObjectName(QStringLiteral("Mirvane2Form"));

    // The component tree.
    BuildActions();
    BuildClientArea();
    BuildToolBar();
    StartTimer = new QTimer(this);
    StartTimer->setObjectName(QStringLiteral("StartTimer"));
    StartTimer->setInterval(2000);
    connect(StartTimer, &QTimer::timeout, this, [this] { StartTimerTimer(); });
    StartTimer->start();
    ConnectHandlers();
    SchemeGrid->setFocus();   // the window's active control

    // The form as designed: used while no settings place it.
    QFont formFont(QStringLiteral("DejaVu Sans"));
    formFont.setPointSize(8);
    setFont(formFont);
    FitRightPanelToTexts();
    setMinimumSize(722, 454);
    PlaceWindow(QRect(445, 317, 714, 676 + menuBar()->sizeHint().height()));

    setWindowTitle(VersionDescription);
    setWindowIcon(MainIcon());

    LoadImageLists();
    ApplyButtonImages();
    FillFrameHandlers();
    WMSysColorChange();
    FitToolBars();
    QApplication::instance()->installEventFilter(this);

    lineListView_ = std::make_unique<TWindowLineListView>(*this);
    statusView_ = std::make_unique<TWindowStatusView>(*this);
    SetHost(this);
    FormCreate();
}

TMirvane2Form::~TMirvane2Form()
{
    FormDestroy();
    if (Host() == this)
        SetHost(nullptr);
    if (mainForm == this)
        mainForm = nullptr;
}

void TMirvane2Form::LoadImageLists()
{
    LoadImageList(Buttons32x32eImages, QStringLiteral("Buttons32x32e"));
    LoadImageList(Buttons32x32dImages, QStringLiteral("Buttons32x32d"));
    LoadImageList(Buttons16x16eImages, QStringLiteral("Buttons16x16e"));
    LoadImageList(Buttons16x16dImages, QStringLiteral("Buttons16x16d"));
    LoadImageList(ConnectIconsImages, QStringLiteral("ConnectIcons"));
}

void TMirvane2Form::FillFrameHandlers()
{
    FrameHandlers.Owner = this;
    FrameHandlers.Parent = SchemePanel_->Surface();
    FrameHandlers.OnChange = [this](QObject* s) { GuardUi([&] { FrameChange(s); }); };
    FrameHandlers.OnSIntKeyPress = [this](QObject* s, QChar& k) { GuardUi([&] { FrameSIntEditKeyPress(s, k); }); };
    FrameHandlers.OnUIntKeyPress = [this](QObject* s, QChar& k) { GuardUi([&] { FrameUIntEditKeyPress(s, k); }); };
    FrameHandlers.OnSFloatKeyPress = [this](QObject* s, QChar& k) { GuardUi([&] { FrameSFloatEditKeyPress(s, k); }); };
    FrameHandlers.OnUFloatKeyPress = [this](QObject* s, QChar& k) { GuardUi([&] { FrameUFloatEditKeyPress(s, k); }); };
    FrameHandlers.OnSIntKeyDown = [this](QObject* s, int& k, TShiftState m) {
        GuardUi([&] { FrameSIntEditKeyDown(s, k, m); });
    };
    FrameHandlers.OnUIntKeyDown = [this](QObject* s, int& k, TShiftState m) {
        GuardUi([&] { FrameUIntEditKeyDown(s, k, m); });
    };
    FrameHandlers.OnSFloatKeyDown = [this](QObject* s, int& k, TShiftState m) {
        GuardUi([&] { FrameSFloatEditKeyDown(s, k, m); });
    };
    FrameHandlers.OnUFloatKeyDown = [this](QObject* s, int& k, TShiftState m) {
        GuardUi([&] { FrameUFloatEditKeyDown(s, k, m); });
    };
    FrameHandlers.OnUpDownChangingEx = [this](QObject* s, bool& allow, int value, TUpDownDirection d) {
        GuardUi([&] { FrameUpDownChangingEx(s, allow, value, d); });
    };
}

// ---------------------------------------------------------------------------------------------
// Start-up and shutdown.

void TMirvane2Form::FormCreate()
{
    DevicesSortColumn = -1;
    Schemes.clear();
    Session.Devices.clear();
    Session.Devices.reserve(DeviceCatalogueCount);
    AttachPorts();
    UpdatePortList();
    WatchPorts();
}

void TMirvane2Form::FormDestroy()
{
    // The devices own their frames, which live in the widget tree: they go first.
    Session.DevicesByAddr.fill(nullptr);
    Session.CurrentDevice = nullptr;
    Session.Devices.clear();
    // The document outlives the window; the next window starts from an empty one, while the
    // file's name and comment stay the program's as they always were.
    Schemes.clear();
    Session.CurrentScheme = Session.PendingScheme = nullptr;   // they pointed into the schemes just freed
    // The walk was this window's child; the next window opens its schemes afresh.
    Session.OpenSchemeThread = nullptr;
    Session.PendingLineMode = -1;
    Session.ApplyModeToSchemes = 1;
    Modified = 0;
    LastFiles = {};
    Ports.Detach();
    StatusBar->clearMask();
}

void TMirvane2Form::PostStartup()
{
    QCoreApplication::postEvent(this, new QEvent(QEvent::Type(StartupEvent)));
}

void TMirvane2Form::WMStartup()
{
    LoadSettings();
    FormResize();
    if (Ports.PortOpen)
        StartReceiveThread();
    else
        ReceiveThreadTerminate();
}

void TMirvane2Form::StartTimerTimer()
{
    if (StatusText(0) == StartHint)
        SetStatusText(0, QString());
    StartTimer->stop();
}

void TMirvane2Form::FormCloseQuery(bool& CanClose)
{
    // An open cell editor is committed first.
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    const QModelIndex cell = SchemeGrid->currentIndex();
    if (editor && SchemeGrid->isAncestorOf(editor) && cell.isValid())
        ApplyCellText(cell.column(), cell.row(), editor->text());
    if (!Closing) {
        LeaveDocument();   // Cancel aborts the close silently
        Closing = 1;
    }
    // The threads end on their own time; their termination handlers call Close again.
    if (Ports.ReceiveThread) {
        Ports.ReceiveThread->Terminate();
        CanClose = false;
    }
    if (Session.OpenSchemeThread) {
        Session.OpenSchemeThread->Terminate();
        CanClose = false;
    }
    if (!CanClose)
        return;
    SaveSettings();
}

void TMirvane2Form::closeEvent(QCloseEvent* event)
{
    bool canClose = true;
    if (!GuardUi([&] { FormCloseQuery(canClose); }))
        canClose = false;
    if (canClose)
        event->accept();
    else
        event->ignore();
}

void TMirvane2Form::FExitItemClick() { close(); }

// ---------------------------------------------------------------------------------------------
// Messages.

bool TMirvane2Form::event(QEvent* event)
{
    switch (int(event->type())) {
    case StartupEvent:
        GuardUi([this] { WMStartup(); });
        return true;
    case NewDevicesEvent:
        GuardUi([this] { ShowNewDevices(); });
        return true;
    case DeviceChangeEvent:
        GuardUi([this] { WMDeviceChange(); });
        return true;
    case QEvent::StatusTip:
        // The long hint of what the pointer is over goes to panel 0.
        if (StatusBar)
            SetStatusText(0, static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    default:
        return QMainWindow::event(event);
    }
}

void TMirvane2Form::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::PaletteChange && event->type() != QEvent::ApplicationPaletteChange)
        return;
    const QPalette p = palette();
    if (p.color(QPalette::Active, QPalette::Highlight) != LastHighlight ||
        p.color(QPalette::Disabled, QPalette::Text) != LastGrayText || p.color(QPalette::Base) != LastWindow ||
        p.color(QPalette::Button) != LastButton)
        WMSysColorChange();
}

void TMirvane2Form::WMTimer(TDeviceInfo* device)
{
    // A notice can outlive its device (a scheme change in between): only a live one is handled.
    const bool live = std::any_of(Session.Devices.begin(), Session.Devices.end(), [device](const auto& d) { return d.get() == device; });
    if (live)
        WMTimerBody(device);
}

void TMirvane2Form::WMSysColorChange()
{
    const QPalette p = palette();
    LastHighlight = p.color(QPalette::Active, QPalette::Highlight);
    LastGrayText = p.color(QPalette::Disabled, QPalette::Text);
    LastWindow = p.color(QPalette::Base);
    LastButton = p.color(QPalette::Button);
    LoadTintedRoundButtons(RoundButtonsImages, LastHighlight);
    LoadTintedRoundButtons(RoundButtonsDisImages, LastGrayText);
    BlendedColor = BlendColors(LastWindow, LastButton);
    ApplyRoundButtonImages();
    // The bar keeps the face colour; the highlight shows only through the progress slit.
    if (StatusBarPanel) {
        StatusBarPanel->SetColor(LastHighlight);
        StatusBar->SetColor(LastButton);
    }
}

void TMirvane2Form::LoadTintedRoundButtons(TImageList& list, const QColor& system)
{
    list.Clear();
    list.AddMasked(TintRoundButtons(LoadResourceImage(QStringLiteral("RoundButtons")), system), MaskColor);
}

// ---------------------------------------------------------------------------------------------
// Status bar.

void TMirvane2Form::SetStatusText(int panel, const QString& text)
{
    StatusBar->SetPanelText(panel, text);
    if (panel == ConnectionPanel)
        FitStatusPanels();
}
QString TMirvane2Form::StatusText(int panel) const { return StatusBar->PanelText(panel); }

int TMirvane2Form::StatusPanelWidth(int index) const
{
    return index >= 0 && index < StatusBar->PanelCount() ? StatusBar->Panels[std::size_t(index)].Width : 0;
}

void TMirvane2Form::StatusBarResize()
{
    const int width = StatusBar->width();
    if (width == LastStatusBarWidth)
        return;
    FitStatusPanels();
    UpdateStatusBarRegion();
    LastStatusBarWidth = width;
}

int TMirvane2Form::ConnectionPanelWidth() const
{
    // The glyph, then the port's name and a refusal's reason, readable whole.
    const QString text = StatusBar->PanelText(ConnectionPanel);
    const int needed = text.isEmpty() ? 0 : ConnectionTextLeft + StatusBar->fontMetrics().horizontalAdvance(text.mid(1)) + 6;
    return std::max(ConnectionPanelMinWidth, needed);
}

void TMirvane2Form::FitStatusPanels()
{
    // Panel 0 gives way to the connection panel; the status text keeps its width.
    const int width = StatusBar->width();
    StatusBar->SetPanelWidth(0, width - (StatusBar->Panels[1].Width + 4) - ConnectionPanelWidth());
}

void TMirvane2Form::UpdateStatusBarRegion()
{
    if (ProgressX_ < 0) {
        StatusBar->clearMask();
        return;
    }
    // A one-pixel slit shows the progress of a scheme being opened.
    const int h = StatusBar->height();
    QRegion region(0, 0, StatusBar->width(), h);
    region -= QRegion(ProgressX_, 5, 1, std::max(0, h - 3 - 5));
    StatusBar->setMask(region);
}

void TMirvane2Form::StatusBarDrawPanel(TStatusBar* bar, QPainter& canvas, int panel, const QRect& rect)
{
    const QString text = bar->PanelText(panel);
    if (text.isEmpty())
        return;
    // An index outside the glyphs draws no image; the text still shows.
    ConnectIconsImages.Draw(canvas, rect.left() + 2, rect.top(), text.at(0).unicode() - '0');
    canvas.setPen(bar->palette().color(QPalette::WindowText));
    canvas.drawText(QRect(rect.left() + ConnectionTextLeft, rect.top(), std::max(0, rect.width() - ConnectionTextLeft),
                          rect.height()),
                    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text.mid(1));
}

void TMirvane2Form::StatusBarMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y)
{
    const int w = StatusBar->width();
    const int h = StatusBar->height();
    // The connection panel, however wide its text made it.
    if (button != Qt::LeftButton || x < StatusBar->PanelRect(ConnectionPanel).left() || x >= w || y < 0 || y >= h)
        return;
    // Right-aligned: the menu opens to the left of the bar's bottom-right corner.
    const QPoint corner = StatusBar->mapToGlobal(QPoint(w, h));
    PortNamePopupMenu->popup(corner - QPoint(PortNamePopupMenu->sizeHint().width(), 0));
}

// ---------------------------------------------------------------------------------------------
// The host seam: the selected device's fields (the line monitor's list is in LineMonitor.cpp).

TDeviceList& TMirvane2Form::Devices() { return Session.Devices; }
TDevicesByAddr& TMirvane2Form::DevicesByAddr() { return Session.DevicesByAddr; }
TDeviceInfo* TMirvane2Form::CurrentDevice() const { return Session.CurrentDevice; }
bool TMirvane2Form::OpeningScheme() const { return Session.OpenSchemeThread != nullptr; }

ILineListView& TMirvane2Form::LineList() { return *lineListView_; }
IStatusView& TMirvane2Form::Status() { return *statusView_; }

QWidget* TMirvane2Form::SchemePanel() const { return SchemePanel_->Surface(); }

void TMirvane2Form::ShowHexTexts(const QString& request, const QString& answer)
{
    if (HexOutStrEdit_)
        HexOutStrEdit_->SetText(request);
    if (HexInStrEdit_)
        HexInStrEdit_->SetText(answer);
}

bool TMirvane2Form::LineLogOn() const { return LineDataStartButton->isChecked(); }

// Read by the receive thread while it detects a port.
TPortSettings TMirvane2Form::PortSettings() const { return Ports.Settings(); }

QObject* TMirvane2Form::Component(const QString& name) const
{
    if (objectName() == name)
        return const_cast<TMirvane2Form*>(this);
    return findChild<QObject*>(name);
}

void TMirvane2Form::VUpdateModeItemClick(QObject* Sender) { UpdateTime_ = Sender->property("Tag").toInt(); }
