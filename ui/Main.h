#pragma once
// The main window: the program's only main form. It shows the open document (model/Document.h)
// and the open scheme with its devices (model/Session.h), shows the ports and the receive
// thread that the port control owns, lays out its panels and
// splitters, routes its messages (deferred start-up, device watchdogs, device changes, colour
// changes, the end of a device search) and closes in order: it asks the threads to end and
// completes the close from their termination.
#include <QColor>
#include <QEvent>
#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

#include "frames/shared/FrameBinding.h"
#include "model/DeviceInfo.h"
#include "model/Document.h"
#include "model/Host.h"
#include "model/Scheme.h"
#include "platform/Kit.h"
#include "ui/ImageList.h"

class QAction;
class QActionGroup;
class QFileDialog;
class QHeaderView;
class QTableView;
class QMenu;
class QStandardItemModel;
class QTableWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TOpenSchemeThread;
class TPortControl;
class TSession;
class TSplitter;
class TStatusBar;
class TLineList;
class TSchemeGridControl;

// The idle text of status-bar panel 1.
inline const QString ReadyText = QStringLiteral(" Готов");
// The program's version, compiled in; VersionDescription is the caption's stem.
inline const QString VersionDescription = QStringLiteral("Mirvane2");
inline const QString VersionProduct = QStringLiteral("Mirvane2");
inline const QString VersionLegalNotice = QStringLiteral("© Разработчики Mirvane2");
inline constexpr std::uint32_t VersionMajor = MIRVANE_VERSION_MAJOR;
inline constexpr std::uint32_t VersionMinor = MIRVANE_VERSION_MINOR;
inline constexpr std::uint32_t VersionRelease = MIRVANE_VERSION_PATCH;
// The program's icon (its resources registered on first use).
const QIcon& MainIcon();
class TMirvane2Form;
// The main window while it exists, else none (main thread).
TMirvane2Form* Mirvane2Form();
// Column 0 of a device's grid row: the decimal mode followed by the decimal static flag.
QString ModeCellText(const TSchemeObject& object);

// The settings file: beside the program when that folder is writable, else in the user's
// configuration folder.
QString SettingsFilePath();

// Posted to the form: the deferred start-up, the end of a device search, a change of the
// machine's devices.
enum : int {
    StartupEvent = QEvent::User + 1,
    NewDevicesEvent = QEvent::User + 2,
    DeviceChangeEvent = QEvent::User + 3,
};
// Posts the end of a device search to the main form (any thread).
void PostNewDevicesNotice();

// The start hint of status-bar panel 0, removed by the start timer.
inline const QString StartHint = QStringLiteral(" Конструктор схем - Ctrl+Alt+K");
// Status-bar panel 2 while the port is switched off.
inline const QString PortClosedText = QStringLiteral(":Закр.");

class TMirvane2Form : public QMainWindow, public THost {
    Q_OBJECT
public:
    // The window shows the open scheme that the session holds and the ports that the port
    // control steers; both outlive it.
    TMirvane2Form(TSession& session, TPortControl& ports, QWidget* owner = nullptr);
    ~TMirvane2Form() override;

    // The host seam.
    TDeviceList& Devices() override;
    TDevicesByAddr& DevicesByAddr() override;
    bool OpeningScheme() const override;
    void WMTimer(TDeviceInfo* device) override;
    void PostSearchEnded() override { PostNewDevicesNotice(); }
    bool IsClosing() const override { return Closing != 0; }
    TPortSettings PortSettings() const override;
    ILineListView& LineList() override;
    IStatusView& Status() override;

    TDeviceInfo* CurrentDevice() const;
    QWidget* SchemePanel() const;
    int StatusPanelWidth(int index) const;
    int ProgressX() const { return ProgressX_; }
    void SetProgressX(int x) { ProgressX_ = x; }
    void UpdateStatusBarRegion();
    int UpdateTime() const { return UpdateTime_; }
    bool LineLogOn() const;
    void ShowHexTexts(const QString& request, const QString& answer);
    TEdit* HexOutStrEdit() const { return HexOutStrEdit_; }
    TEdit* HexInStrEdit() const { return HexInStrEdit_; }
    // The line monitor's list, in log indexes (LineMonitor.cpp).
    int LineListTopIndex() const;
    int LineListItemIndex() const;
    void SetLineListItemIndex(int index);
    int LineListVisibleCount() const;
    void SetLineListCount(int count);
    void BeginLineListUpdate();
    void EndLineListUpdate();
    void ShowLineRecordInfo();

    // Start-up and shutdown.
    void PostStartup();
    void StartTimerTimer();

    // Colours and layout.
    void FormResize();
    void RightPanelButtonClick(QObject* Sender);
    void DataInfoButtonClick(QObject* Sender);

    // Status bar.
    void StatusBarDrawPanel(TStatusBar* bar, QPainter& canvas, int panel, const QRect& rect);
    void SetStatusText(int panel, const QString& text);
    // Panel 2 shows the connection: its glyph, then its text from ConnectionTextLeft on. The
    // panel is as wide as that text needs, at least ConnectionPanelMinWidth.
    static constexpr int ConnectionPanel = 2;
    static constexpr int ConnectionTextLeft = 22;
    static constexpr int ConnectionPanelMinWidth = 70;
    QString StatusText(int panel) const;

    // Receive thread and ports: the port control (`Ports`) owns them; these forward to it and
    // show what it tells this window (MainPorts.cpp).
    void StartReceiveThread();
    void ReceiveThreadTerminate();
    void UpdatePortList();
    // Checks the port item of that Tag in both port menus.
    void CheckPortItems(int tag);

    // Commands and handlers of the menus, tool bars, grid and frames, each in the unit of its
    // part (MainDocuments.cpp, MainSchemes.cpp, MainPorts.cpp, FrameHandlers.cpp, ...).
    void VUpdateModeItemClick(QObject* Sender);
    // Sets the window's rectangle, brought inside the primary screen's work area.
    void PlaceWindow(const QRect& wanted);
    void SaveStateFile();
    void ApplyCellText(int column, int row, const QString& text);
    void ShowNewDevices();
    std::uint32_t SearchStartTick = 0;   // when the last device search started
    void RebuildPortMenus();
    void FCreateFileItemClick();
    void FSaveFileItemClick();
    void FLastFileItemClick(QObject* Sender);
    void BIModeItemClick(QObject* Sender);
    void LPortOpenItemClick();
    void LPortAutoDetectItemClick();
    void LPortCOMItemClick(QObject* Sender);
    void LPriorityItemClick(QObject* Sender);
    void SCreateSchemeItemClick();
    void SRenameSchemeItemClick();
    void SDeleteSchemeItemClick();
    void SClearSchemeItemClick();
    void DAddDeviceItemClick();
    void DDeleteDeviceItemClick();
    void ModeItemClick(QObject* Sender);
    void DeviceStaticPopupItemClick();
    void CurrSchemeComboBoxSelect(QObject* Sender);
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift);
    void DeviceMoveButtonClick(QObject* Sender);
    void LineDataButtonClick(QObject* Sender);
    void FindErrorsButtonClick(QObject* Sender);

    // Documents (MainDocuments.cpp).
    // Reads a scheme file with its state file and takes it over as the open document (name,
    // schemes, comment, caption, recent files), whole or not at all: false, and nothing
    // changed, when the file cannot be read; a failure while it is being shown brings the
    // document left back and goes on to the caller.
    bool LoadDocument(const QString& fileName);
    void FillSchemeComboBox(const QString& schemeName);
    // Leaving a document (new, open, close): asks to save a modified one, else keeps the state
    // file of the most recent file up to date.
    void LeaveDocument();
    void OpenFile(const QString& fileName);
    void SetModified(bool value);
    void AddLastFile(const QString& fileName);
    void UpdateLastFilesMenu();
    void RemoveLastFile(int index);

    // Schemes, devices and modes (MainSchemes.cpp, MainDevices.cpp, MainModes.cpp).
    void SelectScheme(TDeviceScheme* scheme);
    void RemoveDevice(TDeviceInfo* device);
    void SelectDevice(TDeviceInfo* device);
    void DevicesListViewDblClick();
    void DevicesListViewColumnClick(int column);
    void ApplyDeviceMode(int mode);
    void UpdateDeviceRowStatus(TDeviceInfo* device);
    void ApplyConstructorMode();
    // Steps 1-4 of a scheme change: no device selected, the opening stopped, every device object
    // gone; next becomes the pending scheme. The schemes themselves stay.
    void ReleaseDevices(TDeviceScheme* next);

    // Scheme grid and line monitor (MainGrid.cpp, LineMonitor.cpp).
    void SchemeGridDrawCell(QPainter& canvas, int ACol, int ARow, const QRect& Rect, bool focused);
    TSchemeGridControl* GridControl = nullptr;   // the grid's editing and event plumbing
    void LineDataListBoxDrawItem(QPainter& canvas, int Index, const QRect& Rect);

    // Image lists and components that the other units and the tests reach (object names as the
    // fields).
    TImageList Buttons16x16eImages{16}, Buttons16x16dImages{16};
    QToolButton *CreateFileButton = nullptr, *OpenFileButton = nullptr, *SaveFileButton = nullptr;
    QToolButton *BIMode1Button = nullptr, *BIMode2Button = nullptr, *PortOpenButton = nullptr;
    TComboBox* CurrSchemeComboBox = nullptr;
    TPanel *MainPanel = nullptr, *LeftPanel = nullptr, *RightPanel = nullptr;
    QToolButton *DeviceMoveUpButton = nullptr, *DeviceMoveDownButton = nullptr, *ShowRightButton = nullptr;
    QHeaderView* GridHeader = nullptr;
    QTableWidget* SchemeGrid = nullptr;
    TMemo* CommentMemo = nullptr;
    TPanel *RightTopPanel = nullptr, *DevicePanel = nullptr, *LineDataPanel = nullptr, *RightBottomPanel = nullptr;
    QToolButton *HideRightButton = nullptr, *ShowInfoButton = nullptr, *HideInfoButton = nullptr;
    QTreeWidget* DevicesListView = nullptr;
    TCheckBox *SameAddrCheckBox = nullptr, *ClearDataCheckBox = nullptr;
    QToolButton *AddDeviceButton = nullptr, *DeleteDeviceButton = nullptr;
    QToolButton *LineDataStartButton = nullptr, *LineDataStopButton = nullptr;
    QToolButton *FindErrorsPrevButton = nullptr, *FindErrorsNextButton = nullptr;
    QHeaderView* LineDataHeader = nullptr;
    QTableView* LineDataListBox = nullptr;
    TMemo *DescMemo = nullptr, *InfoMemo = nullptr;
    TStatusBar* StatusBar = nullptr;
    QMenu *DeviceModePopupMenu = nullptr, *LastFilesPopupMenu = nullptr, *PortNamePopupMenu = nullptr;
    QAction* LPortNameItem = nullptr;
    QTimer* StartTimer = nullptr;

    // The open document; the described fields below forward to it.
    TDocument& Document;
    // The form's own fields; public, so that the parts in the other units and the tests reach them.
    std::int32_t LoadedDevicesSort = 0;
    std::int32_t DevicesSortColumn = -1;
    QString SettingsPortName;
    std::array<QString, 5> StoredLastFiles;
    std::array<QString, 5>& LastFiles = Document.LastFiles;
    QString& FileComment = Document.FileComment;
    std::int32_t LoadedPollPriority = 0;
    TSchemeList& Schemes = Document.Schemes;
    std::uint8_t& Modified = Document.Modified;
    std::int32_t LoadedWindowState = 0, LoadedLeft = 0, LoadedTop = 0, LoadedWidth = 0, LoadedHeight = 0;
    std::uint32_t LoadedPortOpen = 0, LoadedPortAutoDetect = 0;
    std::int32_t LoadedLineMode = 0, LoadedUpdateTime = 0;
    bool LoadedClearData = false, LoadedSameAddr = false, LoadedRightPanelShown = false, LoadedInfoPanelShown = false;
    std::int32_t LoadedRightPanelWidth = 0, LoadedInfoPanelHeight = 0, LoadedCommentPanelHeight = 0;
    std::int32_t RightPanelWidth = 0, InfoPanelHeight = 0, CommentPanelHeight = 0;
    std::array<std::int32_t, 10> LoadedColWidths{};
    std::uint8_t Closing = 0;
    QString IniFileName;   // the settings file
    QString StartDir;      // the current folder at start-up, with a trailing "/"
    QColor BlendedColor;   // background of grid cells that cannot be edited

    // The open scheme and the port control this window shows.
    TSession& OpenSession() const { return Session; }
    TPortControl& PortControl() const { return Ports; }

    // The component of that name among the form's actions and widgets, or none.
    QObject* Component(const QString& name) const;

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window's own parts and state, reached by its own units only.
    int LineListCount() const;
    void FormCreate();
    void FormDestroy();
    void WMStartup();
    void FormCloseQuery(bool& CanClose);
    // Colours and layout.
    void WMSysColorChange();
    void LoadTintedRoundButtons(TImageList& list, const QColor& system);
    void RightSplitterCanResize(QObject* Sender, int& NewSize, bool& Accept);
    void InfoSplitterCanResize(QObject* Sender, int& NewSize, bool& Accept);
    void CommentSplitterCanResize(QObject* Sender, int& NewSize, bool& Accept);
    void SchemeGridTopLeftChanged();
    // Status bar.
    void StatusBarResize();
    void StatusBarMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    int ConnectionPanelWidth() const;
    void FitStatusPanels();
    void WMDeviceChange();
    // The port control shows its ports in this window from now on.
    void AttachPorts();
    // Rescans the ports when device nodes come and go, and on a slow beat.
    void WatchPorts();
    // Commands of this window.
    void FExitItemClick();
    void HHelpItemClick();
    void HAboutItemClick();
    // Commands and handlers of the menus, tool bars, grid and frames, each in the unit of its
    // part (MainDocuments.cpp, MainSchemes.cpp, MainPorts.cpp, FrameHandlers.cpp, ...).
    void LoadSettings();
    // At the end of a close; a file that cannot be written, or values it cannot hold, are told in
    // the window and the close goes on.
    void SaveSettings();
    void ReportSettingsNotSaved(const QString& reason);
    void AskSaveChanges();
    void OpenSchemeThreadTerminate();
    void WMTimerBody(TDeviceInfo* device);
    // Starts a device search on the receive thread (which must exist), from the menu or not.
    void StartDeviceSearch(std::uint8_t byUser);
    void FOpenFileItemClick();
    void FSaveAsFileItemClick();
    void VRestoreColWidthsItemClick();
    void DFindDeviceItemClick();
    void CurrSchemeComboBoxKeyDown(QObject* Sender, int& Key, TShiftState Shift);
    void GridHeaderSectionResize(int section, int width);
    void CommentMemoChange(QObject* Sender);
    void FrameChange(QObject* Sender);
    void FrameSIntEditKeyPress(QObject* Sender, QChar& Key);
    void FrameUIntEditKeyPress(QObject* Sender, QChar& Key);
    void FrameSFloatEditKeyPress(QObject* Sender, QChar& Key);
    void FrameUFloatEditKeyPress(QObject* Sender, QChar& Key);
    void FrameSIntEditKeyDown(QObject* Sender, int& Key, TShiftState Shift);
    void FrameUIntEditKeyDown(QObject* Sender, int& Key, TShiftState Shift);
    void FrameSFloatEditKeyDown(QObject* Sender, int& Key, TShiftState Shift);
    void FrameUFloatEditKeyDown(QObject* Sender, int& Key, TShiftState Shift);
    void FrameUpDownChangingEx(QObject* Sender, bool& AllowChange, int NewValue, TUpDownDirection Direction);
    // Shows the open document: its schemes (the named one opened, with the line mode given
    // applied; storedModes keeps the device modes as stored), caption, comment, recent files.
    void ShowDocument(int lineMode, const QString& schemeName, bool storedModes);
    void AskReopenFile();
    void ExecuteOpenDialog(const QString& path);
    // "Mirvane2 - <file name without folder and extension>", or the stem alone without a file.
    void ShowFileCaption();
    // CommentMemo shows the text without raising its OnChange.
    void SetCommentText(const QString& text);
    void SetToolButtonVisible(QWidget* button, bool visible);
    void StartOpenSchemeThread();
    void RebuildCatalogueList();
    TDeviceInfo* AddDeviceRow(QTreeWidgetItem* item, TSchemeObject* object);
    void DevicesListViewSelectItem(QTreeWidgetItem* item);
    void DevicesListViewKeyDown(QObject* Sender, int& Key, TShiftState Shift);
    void SelectFreeCatalogueItem();
    void SetDevicesSortColumn(int column);
    void ResetDeviceExchange(TDeviceInfo* device);
    // Empties both hex fields when the device is the selected one.
    void ClearHexEditsOf(const TDeviceInfo* device);
    void DeleteSchemeAt(int index);
    // The line mode read from a state file, applied once (PendingLineMode >= 0).
    void ApplyPendingLineMode();
    void SetLineModeItemsEnabled(bool enabled);
    // The end of a scheme's opening: its grid rows and scheme items shown, then the opening's
    // hold released (the receive thread goes on, the line modes can be chosen, a waiting close
    // completes), also when the showing failed.
    void ShowOpenedScheme();
    void EndSchemeOpening();
    // "Добавить" is enabled with a scheme shown and a focused catalogue row at a free address.
    void UpdateAddDeviceItems();
    // Catalogue rows that share an address with a scheme device are drawn greyed.
    void PaintCatalogueItems();
    // Adds the scheme's combo item at its sorted place; its index.
    int InsertSchemeItem(TDeviceScheme* scheme);
    // The key, selection and sort events of the scheme combo box and the catalogue list.
    void ConnectSchemeControls();
    // Scheme grid: the grid control owns its rows, selection, editing, keys and drawing
    // (SchemeGrid unit); these handlers forward to it (MainGrid.cpp).
    void ConnectSchemeGrid();
    void SchemeGridSelectCell(int ACol, int ARow, bool& CanSelect);
    bool FindEditableColLeft(int start, int& found, int mode) const;
    bool FindEditableColRight(int start, int& found, int mode) const;
    void SchemeGridKeyDown(QObject* Sender, int& Key, TShiftState Shift);
    void SchemeGridKeyUp(QObject* Sender, int& Key, TShiftState Shift);
    void SchemeGridKeyPress(QObject* Sender, QChar& Key);
    void SchemeGridSetEditText(int ACol, int ARow, const QString& Value);
    void SchemeGridMouseDown(Qt::MouseButton Button, TShiftState Shift, int X, int Y);
    void SchemeGridMouseUp(Qt::MouseButton Button, TShiftState Shift, int X, int Y);
    void SchemeGridDblClick();
    // Line monitor (LineMonitor unit).
    void ConnectLineMonitor();
    void LineDataListBoxClick();
    void LineDataHeaderSectionResize();
    // Image lists.
    TImageList Buttons32x32eImages{32}, Buttons32x32dImages{32};
    TImageList ConnectIconsImages{16};
    TImageList RoundButtonsImages{16}, RoundButtonsDisImages{16};
    // Components (object names as the fields).
    QToolBar* ToolBar = nullptr;
    TPanel* Panel6 = nullptr;
    TLabel* Label1 = nullptr;
    TSplitter *RightSplitter = nullptr, *InfoSplitter = nullptr, *CommentSplitter = nullptr;
    TPanel *Panel4 = nullptr, *ScrollBox1 = nullptr, *GridHeaderPanel = nullptr;
    QToolBar *DeviceMoveToolBar = nullptr, *ShowRightToolBar = nullptr;
    TBevel* Bevel1 = nullptr;
    TPanel *DetailPanel = nullptr, *Panel15 = nullptr, *DetailTopPanel = nullptr, *CommentPanel = nullptr;
    TPanel* DetailBottomPanel = nullptr;
    TScrollBox* SchemePanel_ = nullptr;
    TPanel *DeviceNameInfo = nullptr, *DeviceAddrInfo = nullptr, *DeviceDescInfo = nullptr;
    TEdit *HexOutStrEdit_ = nullptr, *HexInStrEdit_ = nullptr;
    QToolBar *HideRightToolBar = nullptr, *ShowInfoToolBar = nullptr, *HideInfoToolBar = nullptr;
    QToolBar *DeviceControlToolBar = nullptr, *ToolBar8 = nullptr, *FindErrorsToolBar = nullptr;
    TPanel* LineDataScrollBox = nullptr;
    TPanel *DescPanel = nullptr, *InfoPanel = nullptr;
    TPanel* StatusBarPanel = nullptr;
    QAction* LPriorityItem = nullptr;
    QAction* VUpdateDataItem = nullptr;
    QFileDialog *OpenSchemesDialog = nullptr, *SaveSchemesDialog = nullptr;
    QString& CurrentFileName = Document.FileName;

    // Building the component tree (MainMenus.cpp, MainLayout.cpp).
    void LoadImageLists();
    void BuildActions();
    void BuildMainMenu();
    void BuildPopupMenus();
    void BuildToolBar();
    void BuildDialogs();
    void ConnectHandlers();
    void BuildClientArea();
    void BuildLeftPanel(TPanel* parent);
    void BuildDetailPanel(TPanel* parent);
    void BuildRightPanel(TPanel* parent);
    void BuildStatusBar(TPanel* parent);
    void FillFrameHandlers();
    void ApplyRoundButtonImages();
    void ApplyButtonImages();
    // Sets the widths of the side-by-side tool bars; after their buttons got their images.
    void FitToolBars();
    // The right panel's first width: its texts read whole (once the form has its font).
    void FitRightPanelToTexts();

    TSession& Session;
    TPortControl& Ports;
    std::int32_t ProgressX_ = -1;
    std::int32_t UpdateTime_ = 0;
    TLineList* LineList_ = nullptr;
    std::unique_ptr<ILineListView> lineListView_;   // the line list as the line log fills it
    std::unique_ptr<IStatusView> statusView_;       // the status bar and hex fields as the line sees them
    TPanel* ShowInfoRoom = nullptr;                 // keeps the line monitor's buttons clear of ShowInfoButton
    QColor LastHighlight, LastGrayText, LastWindow, LastButton;
    int LastStatusBarWidth = -1;
};
