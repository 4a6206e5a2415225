#pragma once
// The open scheme apart from the window: the run-time devices of the scheme shown (in grid-row
// order and by line address), the selected device, the scheme shown and the one being opened,
// the scheme editor's switch, who started the running device search, the line mode a state
// file asks for, and the open-scheme walk; with the rules that change them without a widget
// (scheme names, creating, renaming and deleting schemes, adding, removing and moving devices,
// a line mode's application to the schemes, whether a search's end has anything to offer). The
// program makes one and hands it to the window and the grid control; the receive thread reaches
// it through the window's host. The window shows what it holds.
#include <QString>
#include <cstdint>
#include <functional>

#include "model/Document.h"
#include "model/Host.h"

class QObject;
class TOpenSchemeThread;
struct TFramePlace;

// Scheme names are one name whatever their case.
bool SameSchemeName(const QString& a, const QString& b);

class TSession {
public:
    explicit TSession(TDocument& document) : Document(document) {}
    TSession(const TSession&) = delete;
    TSession& operator=(const TSession&) = delete;
    ~TSession();

    // Schemes.
    // The name a new scheme gets: the typed one (trimmed), else the first shown, else
    // "Схема 1", numbered on while a scheme of that name (in any case) exists.
    QString FreeSchemeName(const QString& typed, const QString& firstShown) const;
    // The scheme of that name, without regard to case, or none.
    TDeviceScheme* SchemeNamed(const QString& name) const;
    // A new empty scheme of that name at the end of the document's schemes; modifies it.
    TDeviceScheme* CreateScheme(const QString& name);
    // The shown scheme takes the name; modifies the document.
    void RenameCurrentScheme(const QString& name);
    // The scheme leaves the document; its devices go first when it is shown or being opened.
    void DeleteScheme(TDeviceScheme* scheme);
    // No device selected, the walk asked to stop, every device object gone; next becomes the
    // pending scheme. The schemes themselves stay.
    void ReleaseDevices(TDeviceScheme* next);

    // Devices of the shown scheme.
    // A new object of that catalogue row at the end of the shown scheme, in the mode a device
    // added in the present line mode gets (emulated in "Диагностика БИ", received in
    // "Диагностика датчиков"); none without a shown scheme.
    TSchemeObject* AddObject(const QString& name, int row);
    // A run-time device for the object, at the end of Devices and at its address; modifies the
    // document.
    TDeviceInfo* AddDevice(TSchemeObject* object, const TFramePlace* place, THost* host);
    // The device before it in Devices, or the last one for the first; none when it is alone.
    TDeviceInfo* NeighbourOf(const TDeviceInfo* device) const;
    // The device and its object leave the scheme; modifies the document. False for a device
    // that is not in Devices.
    bool RemoveDevice(TDeviceInfo* device);
    // The two devices' objects change places in the scheme (Devices keeps its order); modifies
    // the document. False when either object is not in the shown scheme.
    bool SwapDevices(const TDeviceInfo* moved, const TDeviceInfo* neighbour);
    // Devices that are not disabled.
    int CountActiveDevices() const;

    // Modes.
    // The line mode changes, and with it the device modes of every scheme unless a state file's
    // modes are kept: emulated in "Диагностика БИ", received in "Диагностика датчиков"; disabled
    // ones stay.
    void ChangeLineMode(int lineMode);
    // The selected device takes a device mode (0 received, 1 emulated, 2 disabled): false, and
    // nothing changed, without a selected device, for another number or the mode it has.
    bool SetDeviceMode(int mode);
    // The scheme editor's switch.
    void ToggleConstructorMode() { ConstructorMode = ConstructorMode ? 0 : 1; }

    // The open-scheme walk.
    // Starts the walk that builds the pending scheme's devices through the host, made a child of
    // parent (no step of it runs once that is gone); onEnd runs from the event loop once it has
    // ended, finished or terminated.
    void StartWalk(QObject* parent, THost* host, const TFramePlace* place, std::function<void()> onEnd);
    // At the walk's end: the scheme it built becomes the one shown. A walk that was terminated
    // (a scheme chosen meanwhile, or a close) shows nothing: false.
    bool TakeWalkedScheme();

    // A device search's end has something to show: a scheme is shown, and it is empty or the
    // user asked for the search.
    bool SearchEndShows() const;

    TDocument& Document;
    TDeviceList Devices;
    TDevicesByAddr DevicesByAddr{};
    TDeviceInfo* CurrentDevice = nullptr;
    TDeviceScheme* CurrentScheme = nullptr;          // the scheme shown; none while one is being opened
    TDeviceScheme* PendingScheme = nullptr;          // the scheme the open-scheme walk builds, or none
    std::uint8_t ConstructorMode = 0;                // scheme editing (Ctrl+Alt+K, or "/c" at start)
    std::uint8_t SearchByUser = 0;                   // the running device search was started from the menu
    std::int32_t PendingLineMode = -1;               // a state file's line mode, applied once (-1 none)
    std::uint8_t ApplyModeToSchemes = 1;             // a line mode change rewrites the schemes' modes
    TOpenSchemeThread* OpenSchemeThread = nullptr;   // the walk building PendingScheme, or none
};
