// The settings file: read once at start-up and applied to the window, the port switches and the
// document; written at the end of a close only when a value differs from what was loaded.
#include "ui/MainSettings.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QScreen>
#include <QTableWidget>
#include <QToolButton>
#include <algorithm>

#include "model/LineMode.h"
#include "model/SchemeFiles.h"
#include "model/Session.h"
#include "platform/Files.h"
#include "platform/Ini.h"
#include "ui/Ask.h"
#include "ui/DocumentNames.h"
#include "ui/Main.h"
#include "ui/PortControl.h"
#include "ui/Splitter.h"

// ---------------------------------------------------------------------------------------------
// Value rules.

namespace {

void SkipBlanks(QStringView& text)
{
    while (!text.isEmpty() && text.front().isSpace())
        text = text.mid(1);
}

int DigitValue(QChar c)
{
    return c >= u'0' && c <= u'9'   ? c.unicode() - '0'
           : c >= u'a' && c <= u'f' ? c.unicode() - 'a' + 10
           : c >= u'A' && c <= u'F' ? c.unicode() - 'A' + 10
                                    : 99;
}

// Digits of `base` from the front of `text`, saturating; false when there is none.
bool ScanDigits(QStringView& text, int base, std::uint64_t& value)
{
    qsizetype used = 0;
    value = 0;
    for (; used < text.size(); ++used) {
        const int d = DigitValue(text[used]);
        if (d >= base)
            break;
        value = value > (UINT64_MAX >> 8) ? UINT64_MAX : value * std::uint64_t(base) + std::uint64_t(d);
    }
    text = text.mid(used);
    return used > 0;
}

// An optional sign, then the digits; the result wraps into 32 bits as scanf's stores do. With
// `autoBase` a leading "0x" before a hexadecimal digit selects base 16, another leading 0 base 8.
bool ScanSigned32(QStringView& text, bool autoBase, std::uint32_t& value)
{
    QStringView rest = text;
    SkipBlanks(rest);
    const bool negative = rest.startsWith(u'-');
    if (negative || rest.startsWith(u'+'))
        rest = rest.mid(1);
    int base = 10;
    if (autoBase && rest.startsWith(u'0')) {
        base = 8;
        if (rest.size() > 2 && (rest[1] == u'x' || rest[1] == u'X') && DigitValue(rest[2]) < 16) {
            base = 16;
            rest = rest.mid(2);
        }
    }
    std::uint64_t digits = 0;
    if (!ScanDigits(rest, base, digits))
        return false;
    value = std::uint32_t(negative ? 0 - digits : digits);
    text = rest;
    return true;
}

std::optional<QStringList>& ArgumentsOverride()
{
    static std::optional<QStringList> arguments;
    return arguments;
}

}   // namespace

bool ScanUnsigned(QStringView& text, std::uint32_t& value) { return ScanSigned32(text, false, value); }

bool ScanInteger(QStringView& text, std::int32_t& value)
{
    std::uint32_t bits = 0;
    if (!ScanSigned32(text, true, bits))
        return false;
    value = std::int32_t(bits);
    return true;
}

int ScanFormsMain(const QString& text, TFormsMain& f)
{
    // Fields 1 and 2 (left, top) are "%i", the others "%u"; all land as 32-bit patterns.
    std::uint32_t* const fields[] = {&f.Maximized, reinterpret_cast<std::uint32_t*>(&f.Left),
                                     reinterpret_cast<std::uint32_t*>(&f.Top), reinterpret_cast<std::uint32_t*>(&f.Width),
                                     reinterpret_cast<std::uint32_t*>(&f.Height), &f.RightShown,
                                     reinterpret_cast<std::uint32_t*>(&f.RightWidth), &f.InfoShown,
                                     reinterpret_cast<std::uint32_t*>(&f.InfoHeight),
                                     reinterpret_cast<std::uint32_t*>(&f.CommentHeight)};
    QStringView rest(text);
    for (int i = 0; i < 10; ++i) {
        if (i > 0) {
            SkipBlanks(rest);
            if (!rest.startsWith(u','))
                return i;
            rest = rest.mid(1);
        }
        if (!ScanSigned32(rest, i == 1 || i == 2, *fields[i]))
            return i;
    }
    return 10;
}

QString FormatFormsMain(const TFormsMain& f)
{
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8,%9,%10")
        .arg(f.Maximized ? 1 : 0)
        .arg(f.Left)
        .arg(f.Top)
        .arg(std::uint32_t(f.Width))
        .arg(std::uint32_t(f.Height))
        .arg(f.RightShown)
        .arg(std::uint32_t(f.RightWidth))
        .arg(f.InfoShown)
        .arg(std::uint32_t(f.InfoHeight))
        .arg(std::uint32_t(f.CommentHeight));
}

QRect KeepInWorkArea(const QRect& wanted, const QRect& area, const QSize& minimum)
{
    // 64 bits: the stored edges may be anything.
    const auto size = [](std::int64_t want, std::int64_t span, std::int64_t least) {
        return std::max(least, std::min(want, span));
    };
    const std::int64_t width = size(wanted.width(), area.width(), minimum.width());
    const std::int64_t height = size(wanted.height(), area.height(), minimum.height());
    // Moved in from the far edge first; the near edge wins when the window is still larger.
    const auto place = [](std::int64_t pos, std::int64_t size, std::int64_t low, std::int64_t span) {
        return std::max(low, std::min(pos, low + span - size));
    };
    return QRect(int(place(wanted.x(), width, area.x(), area.width())),
                 int(place(wanted.y(), height, area.y(), area.height())), int(width), int(height));
}

QRect PlaceInWorkArea(const QRect& wanted, const QRect& area, const QSize& minimum, const QMargins& frame)
{
    return KeepInWorkArea(wanted, area.marginsRemoved(frame.isNull() ? TypicalWindowFrame : frame), minimum);
}

std::vector<std::uint32_t> ScanColWidths(const QString& text, int count)
{
    std::vector<std::uint32_t> widths;
    QStringView rest(text);
    while (int(widths.size()) < count) {
        std::uint32_t width = 0;
        QStringView field = rest;
        if (!ScanUnsigned(field, width))
            break;
        widths.push_back(width);
        const qsizetype comma = rest.indexOf(u',');
        if (comma < 0)
            break;
        rest = rest.mid(comma + 1);
    }
    return widths;
}

QString FormatColWidths(const std::vector<int>& widths)
{
    QStringList parts;
    for (int w : widths)
        parts << QString::number(std::uint32_t(w));
    return parts.join(u',');
}

TPortValue ParsePortValue(const QString& text)
{
    TPortValue port;
    QStringView rest(text);
    // A field is scanned from the front, then the text through the next comma is dropped (the
    // whole text when there is none).
    const auto cut = [&rest] {
        const qsizetype comma = rest.indexOf(u',');
        rest = comma < 0 ? QStringView() : rest.mid(comma + 1);
    };
    std::uint32_t value = 0;
    if (QStringView field = rest; ScanUnsigned(field, value))
        port.Open = value;
    cut();
    if (QStringView field = rest; ScanUnsigned(field, value))
        port.AutoDetect = value;
    cut();
    const qsizetype comma = rest.indexOf(u',');
    if (comma < 0)
        return port;
    port.Name = rest.left(comma).trimmed().toString();
    rest = rest.mid(comma + 1);
    if (ScanUnsigned(rest, value))
        port.Priority = value;
    return port;
}

std::optional<QString> FormatPortValue(bool open, bool autoDetect, const QString& name, int priority)
{
    // Put together, not substituted: a '%' in the name is the name's.
    const QString text = QString::number(open ? 1 : 0) + u',' + QString::number(autoDetect ? 1 : 0) + u',' + name + u',' +
                         QString::number(priority);
    const TPortValue read = ParsePortValue(text);
    if (read.Name != name || read.Priority != std::uint32_t(priority))
        return std::nullopt;
    return text;
}

int LimitPollPriority(std::uint32_t priority) { return int(std::min<std::uint32_t>(priority, 6)); }

QString LoadedFileName(const QString& value, const QString& startDir)
{
    const QString v = value.trimmed();
    if (QDir::isAbsolutePath(v))
        return QDir::cleanPath(v);
    return QDir::cleanPath(QDir(startDir).filePath(v));
}

QStringList StartArguments()
{
    if (ArgumentsOverride())
        return *ArgumentsOverride();
    return QCoreApplication::arguments().mid(1);
}

void SetStartArguments(std::optional<QStringList> arguments) { ArgumentsOverride() = std::move(arguments); }

// ---------------------------------------------------------------------------------------------
// The window's side.

namespace {

// Column widths beyond this are no widths a screen shows; they are taken as this.
constexpr std::uint32_t MaxColWidth = 4000;

QString FaultText(TIniValueFault fault)
{
    switch (fault) {
    case TIniValueFault::LineBreak:
        return QStringLiteral("перевод строки в значении");
    case TIniValueFault::OuterBlank:
        return QStringLiteral("пробел в начале или в конце значения");
    case TIniValueFault::NotEncodable:
        return QStringLiteral("символы, которых файл не передаёт");
    case TIniValueFault::None:
        break;
    }
    return {};
}

// The values a save refused, a line each ("SETUP/Port «1,0,a,b,2»: why"), kept as they were.
class TRefusedValues {
public:
    explicit TRefusedValues(TIniFile& ini) : Ini(ini) {}
    bool Write(const QString& section, const QString& key, const QString& value)
    {
        if (Ini.WriteString(section, key, value))
            return true;
        Refuse(section + u'/' + key, value, FaultText(IniValueFault(value)));
        return false;
    }
    void Refuse(const QString& what, const QString& value, const QString& why)
    {
        Lines << what + QStringLiteral(" «") + value + QStringLiteral("»: ") + why;
    }
    QStringList Lines;

private:
    TIniFile& Ini;
};

QString SaveErrorText(int error)
{
    return error == NotAPlainFile ? QStringLiteral("на его месте не обычный файл") : qt_error_string(error);
}

QString LastFileKey(int n) { return QStringLiteral("File%1").arg(n); }

// 2 maximized, 1 minimized, 0 normal.
int WindowStateCode(const QWidget& w)
{
    return w.isMaximized() ? 2 : w.isMinimized() ? 1
                                                 : 0;
}

// The restored rectangle, also while maximized.
QRect NormalRect(const QWidget& w)
{
    const QRect normal = w.normalGeometry();
    return (w.isMaximized() || w.isMinimized()) && normal.isValid() ? normal : w.geometry();
}

QAction* FindAction(const QObject& form, const char* name) { return form.findChild<QAction*>(QLatin1String(name)); }

void ApplyWindowSettings(TMirvane2Form& form, const TIniFile& ini)
{
    TFormsMain f;
    f.RightWidth = form.RightPanelWidth;
    f.InfoHeight = form.InfoPanelHeight;
    f.CommentHeight = form.CommentPanelHeight;
    if (ScanFormsMain(ini.ReadString(FormsSection, QStringLiteral("Main")), f) >= FormsMainMinFields) {
        form.PlaceWindow(QRect(f.Left, f.Top, f.Width, f.Height));
        if (f.Maximized)
            form.setWindowState(form.windowState() | Qt::WindowMaximized);
        form.RightPanelWidth = f.RightWidth;
        form.InfoPanelHeight = f.InfoHeight;
        form.CommentPanelHeight = f.CommentHeight;
        if (f.RightShown && form.ShowRightButton->isEnabled())
            form.RightPanelButtonClick(form.ShowRightButton);
        if (f.InfoShown && form.ShowInfoButton->isEnabled())
            form.DataInfoButtonClick(form.ShowInfoButton);
    }
    // A value that changed nothing is compared with the window as it is.
    const QRect now = NormalRect(form);
    form.LoadedLeft = now.x();
    form.LoadedTop = now.y();
    form.LoadedWidth = now.width();
    form.LoadedHeight = now.height();

    const std::vector<std::uint32_t> widths =
        ScanColWidths(ini.ReadString(ViewSection, QStringLiteral("ColWidths")), form.SchemeGrid->columnCount());
    for (std::size_t i = 0; i < widths.size(); ++i) {
        const int width = int(std::min(widths[i], MaxColWidth));
        form.GridHeader->resizeSection(int(i), width);
        form.SchemeGrid->setColumnWidth(int(i), width);
    }
}

void ApplyPortSettings(TMirvane2Form& form, const TIniFile& ini)
{
    // A missing or unreadable switch reads as off.
    const TPortValue port = ParsePortValue(ini.ReadString(SetupSection, QStringLiteral("Port")));
    form.LoadedPortOpen = port.Open.value_or(0);
    form.LoadedPortAutoDetect = port.AutoDetect.value_or(0);
    form.SettingsPortName = port.Name;
    if (port.Priority)
        form.PortControl().PollPriority = LimitPollPriority(*port.Priority);
}

void ReadLastFiles(TMirvane2Form& form, const TIniFile& ini)
{
    std::size_t taken = 0;
    for (int n = 1; n <= 5; ++n) {
        const QString value = ini.ReadString(LastFilesSection, LastFileKey(n)).trimmed();
        if (value.isEmpty())
            continue;
        const QString path = LoadedFileName(value, form.StartDir);
        const auto end = form.LastFiles.begin() + std::ptrdiff_t(taken);
        if (std::any_of(form.LastFiles.begin(), end, [&path](const QString& p) { return SameFile(p, path); }))
            continue;
        form.StoredLastFiles[taken] = path;
        form.LastFiles[taken] = path;
        ++taken;
    }
    form.UpdateLastFilesMenu();
}

void OpenStartDocument(TMirvane2Form& form)
{
    if (!form.LastFiles[0].isEmpty() && form.LoadDocument(form.LastFiles[0]))
        return;
    // A new file is prepared in constructor mode; the command line decides the mode after.
    form.OpenSession().ConstructorMode = 1;
    form.FCreateFileItemClick();
}

void TakeSettingsSnapshot(TMirvane2Form& form)
{
    form.LoadedWindowState = WindowStateCode(form);
    form.LoadedClearData = form.ClearDataCheckBox->Checked();
    form.LoadedSameAddr = form.SameAddrCheckBox->Checked();
    form.LoadedRightPanelShown = form.RightPanel->Visible();
    form.LoadedRightPanelWidth = form.RightPanelWidth;
    form.LoadedInfoPanelShown = form.RightBottomPanel->Visible();
    form.LoadedInfoPanelHeight = form.InfoPanelHeight;
    form.LoadedCommentPanelHeight = form.CommentPanelHeight;
    for (int i = 0; i < int(form.LoadedColWidths.size()) && i < form.SchemeGrid->columnCount(); ++i)
        form.LoadedColWidths[std::size_t(i)] = form.SchemeGrid->columnWidth(i);
    form.LoadedUpdateTime = form.UpdateTime();
}

bool SettingsChanged(const TMirvane2Form& form)
{
    const QRect normal = NormalRect(form);
    if (form.LoadedWindowState != WindowStateCode(form) || form.LoadedLeft != normal.x() ||
        form.LoadedTop != normal.y() || form.LoadedWidth != normal.width() || form.LoadedHeight != normal.height() ||
        form.LoadedClearData != form.ClearDataCheckBox->Checked() ||
        form.LoadedSameAddr != form.SameAddrCheckBox->Checked() ||
        form.LoadedRightPanelShown != form.RightPanel->Visible() || form.LoadedRightPanelWidth != form.RightPanelWidth ||
        form.LoadedInfoPanelShown != form.RightBottomPanel->Visible() ||
        form.LoadedInfoPanelHeight != form.InfoPanelHeight ||
        form.LoadedCommentPanelHeight != form.CommentPanelHeight || form.LoadedPortOpen != std::uint32_t(form.PortControl().PortOpen) ||
        form.LoadedPortAutoDetect != std::uint32_t(form.PortControl().PortAutoDetect.load()) ||
        form.SettingsPortName != form.PortControl().SettingsPortName() || form.LoadedPollPriority != form.PortControl().PollPriority ||
        form.LoadedLineMode != LineMode.load() || form.LoadedUpdateTime != form.UpdateTime() ||
        form.LoadedDevicesSort != form.DevicesSortColumn)
        return true;
    for (int i = 0; i < int(form.LoadedColWidths.size()) && i < form.SchemeGrid->columnCount(); ++i)
        if (form.SchemeGrid->columnWidth(i) != form.LoadedColWidths[std::size_t(i)])
            return true;
    for (std::size_t i = 0; i < form.LastFiles.size(); ++i) {
        if (form.StoredLastFiles[i].isEmpty() && form.LastFiles[i].isEmpty())
            break;
        if (!SameFile(form.StoredLastFiles[i], form.LastFiles[i]))
            return true;
    }
    return false;
}

}   // namespace

void TMirvane2Form::PlaceWindow(const QRect& wanted)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        setGeometry(wanted);
        return;
    }
    // The frame that a window manager adds stays inside the work area too; before the manager
    // has framed the window its frame is not known (and no margin at all).
    const QRect outer = frameGeometry(), inner = geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    setGeometry(PlaceInWorkArea(wanted, screen->availableGeometry(), minimumSize(), frame));
}

void TMirvane2Form::LoadSettings()
{
    RightPanelWidth = RightPanel->Width();
    InfoPanelHeight = RightBottomPanel->Height();
    CommentPanelHeight = CommentPanel->Height();

    TIniFile ini;
    if (ini.Load(IniFileName) != TIniLoad::Loaded) {
        // No settings (or none we can use): the window and the switches as they are, the
        // window inside the screen.
        PlaceWindow(geometry());
        LoadedPortOpen = Ports.PortOpen;
        LoadedPortAutoDetect = Ports.PortAutoDetect;
        const QRect now = NormalRect(*this);
        LoadedLeft = now.x();
        LoadedTop = now.y();
        LoadedWidth = now.width();
        LoadedHeight = now.height();
        LoadedDevicesSort = 0;
        LoadedLineMode = 0;
    } else {
        ApplyWindowSettings(*this, ini);
        UpdateTime_ = ini.ReadInteger(ViewSection, QStringLiteral("UpdateTime"), UpdateTime_);
        ClearDataCheckBox->SetChecked(ini.ReadBool(ViewSection, QStringLiteral("ClearData"), ClearDataCheckBox->Checked()));
        LoadedDevicesSort = std::clamp(ini.ReadInteger(ViewSection, QStringLiteral("DevicesSort"), 0), 0, 2);
        ApplyPortSettings(*this, ini);
        LoadedLineMode = ini.ReadInteger(SetupSection, QStringLiteral("Mode"), -1);
        SameAddrCheckBox->SetChecked(ini.ReadBool(SetupSection, QStringLiteral("SameAddr"), SameAddrCheckBox->Checked()));
        ReadLastFiles(*this, ini);
    }

    RightPanelWidth = std::max(RightPanelWidth, RightSplitter->MinSize);
    InfoPanelHeight = std::max(InfoPanelHeight, InfoSplitter->MinSize);
    CommentPanelHeight = std::max(CommentPanelHeight, CommentSplitter->MinSize);
    TakeSettingsSnapshot(*this);

    for (QAction* item : VUpdateDataItem->menu()->actions())
        item->setChecked(item->property("Tag").isValid() && item->property("Tag").toInt() == UpdateTime_);
    // Switched off only: a port the program already holds off stays off.
    if (LoadedPortOpen == 0 && Ports.PortOpen)
        LPortOpenItemClick();
    if (LoadedPortAutoDetect == 0 && Ports.PortAutoDetect)
        LPortAutoDetectItemClick();
    Ports.ConfigurePort(SettingsPortName);
    const QList<QAction*> priorities = LPriorityItem->menu()->actions();
    if (6 - Ports.PollPriority < priorities.size())
        priorities[6 - Ports.PollPriority]->setChecked(true);
    LoadedPollPriority = Ports.PollPriority;
    BIModeItemClick(FindAction(*this, LoadedLineMode != 0 ? "LBIMode2Item" : "LBIMode1Item"));

    OpenStartDocument(*this);
    const QStringList arguments = StartArguments();
    Session.ConstructorMode = !arguments.isEmpty() && arguments.last().toLower() == QLatin1String("/c");
    if (Session.ConstructorMode)
        ApplyConstructorMode();
    else
        SetStatusText(0, StartHint);
    SetDevicesSortColumn(LoadedDevicesSort);
}

void TMirvane2Form::SaveSettings()
{
    if (!SettingsChanged(*this))
        return;
    TIniFile ini;
    // Keys of others stay; a file we cannot read is not replaced by ours.
    if (ini.Load(IniFileName) == TIniLoad::Unreadable) {
        ReportSettingsNotSaved(QStringLiteral("файл не читается или слишком велик"));
        return;
    }
    TRefusedValues values(ini);
    const QRect normal = NormalRect(*this);
    TFormsMain f;
    f.Maximized = isMaximized() ? 1 : 0;
    f.Left = normal.x();
    f.Top = normal.y();
    f.Width = normal.width();
    f.Height = normal.height();
    f.RightShown = RightPanel->Visible() ? 1 : 0;
    f.RightWidth = RightPanelWidth;
    f.InfoShown = RightBottomPanel->Visible() ? 1 : 0;
    f.InfoHeight = InfoPanelHeight;
    f.CommentHeight = CommentPanelHeight;
    values.Write(FormsSection, QStringLiteral("Main"), FormatFormsMain(f));
    std::vector<int> widths;
    widths.reserve(static_cast<std::size_t>(SchemeGrid->columnCount()));
    for (int i = 0; i < SchemeGrid->columnCount(); ++i)
        widths.push_back(SchemeGrid->columnWidth(i));
    values.Write(ViewSection, QStringLiteral("ColWidths"), FormatColWidths(widths));
    ini.WriteInteger(ViewSection, QStringLiteral("UpdateTime"), UpdateTime_);
    ini.WriteBool(ViewSection, QStringLiteral("ClearData"), ClearDataCheckBox->Checked());
    ini.WriteInteger(ViewSection, QStringLiteral("DevicesSort"), DevicesSortColumn);
    if (const auto port = FormatPortValue(Ports.PortOpen, Ports.PortAutoDetect, Ports.SettingsPortName(), Ports.PollPriority))
        values.Write(SetupSection, QStringLiteral("Port"), *port);
    else
        values.Refuse(SetupSection + QStringLiteral("/Port"), Ports.SettingsPortName(),
                      QStringLiteral("запятая или пробел по краям в имени порта"));
    ini.WriteInteger(SetupSection, QStringLiteral("Mode"), LineMode.load());
    ini.WriteBool(SetupSection, QStringLiteral("SameAddr"), SameAddrCheckBox->Checked());
    // A recent file the file cannot hold leaves a gap no key shows.
    int n = 1;
    for (const QString& file : LastFiles) {
        if (file.isEmpty())
            break;
        if (values.Write(LastFilesSection, LastFileKey(n), file))
            ++n;
    }
    for (; n <= 5; ++n)
        ini.DeleteKey(LastFilesSection, LastFileKey(n));
    int error = 0;
    if (!ini.Save(IniFileName, &error))
        ReportSettingsNotSaved(SaveErrorText(error));
    else if (!values.Lines.isEmpty())
        MessageBox(this,
                   QStringLiteral("Не все настройки записаны в файл:\n") + IniFileName + u'\n' + values.Lines.join(u'\n'),
                   ErrorCaption, TButtons::Ok, TBoxIcon::Error);
}

void TMirvane2Form::ReportSettingsNotSaved(const QString& reason)
{
    qWarning("Settings file %s not written: %s", qPrintable(IniFileName), qPrintable(reason));
    MessageBox(this, QStringLiteral("Ошибка при сохранении файла настроек:\n") + IniFileName + u'\n' + reason, ErrorCaption,
               TButtons::Ok, TBoxIcon::Error);
}
