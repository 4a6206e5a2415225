#pragma once
// The rules of the settings file's values, apart from the window that applies them: the
// scanned fields of the window placement, the column widths and the port switches, the keeping
// of a window inside the work area, and the stored form of the recent files' paths.
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

// Settings sections and keys.
inline const QString FormsSection = QStringLiteral("FORMS");
inline const QString ViewSection = QStringLiteral("VIEW");
inline const QString SetupSection = QStringLiteral("SETUP");
inline const QString LastFilesSection = QStringLiteral("LASTFILES");

// Scanning as C's scanf does: "%u" (an optional sign, decimal digits, taken modulo 2^32) and
// "%i" (an optional sign, then "0x" hexadecimal, a leading 0 octal, else decimal); both skip
// leading blanks. On success the scanned text is consumed.
bool ScanUnsigned(QStringView& text, std::uint32_t& value);
bool ScanInteger(QStringView& text, std::int32_t& value);

// FORMS/Main: maximized, the normal rectangle, right panel shown and width, decoding panel
// shown and height, comment panel height. Fields that do not scan keep their values.
struct TFormsMain {
    std::uint32_t Maximized = 0;
    std::int32_t Left = 0, Top = 0;
    std::int32_t Width = 0, Height = 0;
    std::uint32_t RightShown = 0;
    std::int32_t RightWidth = 0;
    std::uint32_t InfoShown = 0;
    std::int32_t InfoHeight = 0, CommentHeight = 0;
};
// Scans "%u ,%i ,%i ,%u ,%u ,%u ,%u ,%u ,%u ,%u"; the number of fields read.
int ScanFormsMain(const QString& text, TFormsMain& fields);
QString FormatFormsMain(const TFormsMain& fields);
// The fields are applied only when at least this many were read.
inline constexpr int FormsMainMinFields = 5;

// A rectangle moved inside the work area; cut to the area's size only when larger, never below
// `minimum` (a window larger than the area keeps its left and top edges on the area's).
QRect KeepInWorkArea(const QRect& wanted, const QRect& workArea, const QSize& minimum = {});
// The same for a window whose manager adds `frame` around it (title bar and borders), so that
// the frame lies on the work area too; a frame not known yet (null) stands for a typical one.
QRect PlaceInWorkArea(const QRect& wanted, const QRect& workArea, const QSize& minimum, const QMargins& frame);
// The typical frame: a title bar and borders as common window managers draw them.
inline constexpr QMargins TypicalWindowFrame{4, 32, 4, 8};

// VIEW/ColWidths: the widths from the front of "w0,w1,..." up to the first that does not scan,
// at most `count`.
std::vector<std::uint32_t> ScanColWidths(const QString& text, int count);
QString FormatColWidths(const std::vector<int>& widths);

// SETUP/Port: "open,autodetect,name,priority". A field that does not scan is empty; a name
// without a comma after it is dropped together with the priority.
struct TPortValue {
    std::optional<std::uint32_t> Open, AutoDetect;
    QString Name;
    std::optional<std::uint32_t> Priority;
};
TPortValue ParsePortValue(const QString& text);
// The value, or nothing when it would read back as another port name (a comma in the name, or
// blanks at its ends).
std::optional<QString> FormatPortValue(bool open, bool autoDetect, const QString& name, int priority);
// The poll priority as stored: above 6 (also any negative number, taken unsigned) becomes 6.
int LimitPollPriority(std::uint32_t priority);

// Recent files are stored by their full paths, so that they open whatever folder the program
// starts in (their menus still show them short, LastFileDisplayName). A stored value back to a
// full path: relative values, as files of earlier versions hold them, lie below `startDir`
// (ending with '/').
QString LoadedFileName(const QString& value, const QString& startDir);

// The command line's arguments after the program's name; tests set their own (an empty
// optional restores the process's).
QStringList StartArguments();
void SetStartArguments(std::optional<QStringList> arguments);
