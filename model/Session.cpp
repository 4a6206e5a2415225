#include "model/Session.h"

#include <algorithm>

#include "model/DeviceInfo.h"
#include "model/Helpers.h"
#include "model/LineMode.h"
#include "model/OpenSchemeThread.h"

namespace {

const QString FirstSchemeName = QStringLiteral("Схема 1");

}   // namespace

bool SameSchemeName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

TSession::~TSession()
{
    // The devices own their frames: they go before whatever outlives this.
    CurrentDevice = nullptr;
    DevicesByAddr.fill(nullptr);
    Devices.clear();
}

// ---------------------------------------------------------------------------------------------
// Schemes.

TDeviceScheme* TSession::SchemeNamed(const QString& name) const
{
    for (const auto& scheme : Document.Schemes)
        if (SameSchemeName(scheme->Name, name))
            return scheme.get();
    return nullptr;
}

QString TSession::FreeSchemeName(const QString& typed, const QString& firstShown) const
{
    QString name = typed.trimmed();
    if (name.isEmpty())
        name = firstShown.isEmpty() ? FirstSchemeName : firstShown;
    while (SchemeNamed(name))
        name = MakeNextName(name);
    return name;
}

TDeviceScheme* TSession::CreateScheme(const QString& name)
{
    Document.Schemes.push_back(std::make_unique<TDeviceScheme>(name));
    Document.Modified = 1;
    return Document.Schemes.back().get();
}

void TSession::RenameCurrentScheme(const QString& name)
{
    if (!CurrentScheme)
        return;
    CurrentScheme->Name = name;
    Document.Modified = 1;
}

void TSession::DeleteScheme(TDeviceScheme* scheme)
{
    if (!scheme)
        return;
    // Devices never outlive the objects they show.
    if (scheme == CurrentScheme || scheme == PendingScheme)
        ReleaseDevices(nullptr);
    std::erase_if(Document.Schemes, [scheme](const auto& s) { return s.get() == scheme; });
    Document.Modified = 1;
}

void TSession::ReleaseDevices(TDeviceScheme* next)
{
    CurrentDevice = nullptr;
    CurrentScheme = nullptr;
    PendingScheme = next;
    if (OpenSchemeThread)
        OpenSchemeThread->Terminate();   // its end handler opens the pending scheme
    Devices.clear();
    DevicesByAddr.fill(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Devices.

TSchemeObject* TSession::AddObject(const QString& name, int row)
{
    if (!CurrentScheme)
        return nullptr;
    CurrentScheme->Objects.push_back(
        std::make_unique<TSchemeObject>(name, std::uint32_t(row), std::uint8_t(1 - LineMode.load())));
    return CurrentScheme->Objects.back().get();
}

TDeviceInfo* TSession::AddDevice(TSchemeObject* object, const TFramePlace* place, THost* host)
{
    auto created = std::make_unique<TDeviceInfo>(object, place, host);
    TDeviceInfo* device = created.get();
    Devices.push_back(std::move(created));
    DevicesByAddr[device->FrameInfo->Address] = device;
    Document.Modified = 1;
    return device;
}

TDeviceInfo* TSession::NeighbourOf(const TDeviceInfo* device) const
{
    const auto at = std::find_if(Devices.begin(), Devices.end(), [device](const auto& d) { return d.get() == device; });
    if (at == Devices.end() || Devices.size() < 2)
        return nullptr;
    return at == Devices.begin() ? Devices.back().get() : std::prev(at)->get();
}

bool TSession::RemoveDevice(TDeviceInfo* device)
{
    const auto at = std::find_if(Devices.begin(), Devices.end(), [device](const auto& d) { return d.get() == device; });
    if (at == Devices.end())
        return false;
    DevicesByAddr[device->FrameInfo->Address] = nullptr;
    if (CurrentDevice == device)
        CurrentDevice = nullptr;
    if (CurrentScheme) {
        const TSchemeObject* object = device->SchemeObject;
        std::erase_if(CurrentScheme->Objects, [object](const auto& o) { return o.get() == object; });
    }
    device->SchemeObject = nullptr;
    Devices.erase(at);
    Document.Modified = 1;
    return true;
}

bool TSession::SwapDevices(const TDeviceInfo* moved, const TDeviceInfo* neighbour)
{
    if (!CurrentScheme || !moved || !neighbour)
        return false;
    // The two objects change places in the file as their rows do in the grid, also where the
    // file holds objects that got no device between them. Devices keeps its creation order
    // (the poll order) until the scheme is opened again.
    auto& objects = CurrentScheme->Objects;
    const auto at = [&objects](const TSchemeObject* o) {
        return std::find_if(objects.begin(), objects.end(), [o](const auto& p) { return p.get() == o; });
    };
    const auto a = at(moved->SchemeObject);
    const auto b = at(neighbour->SchemeObject);
    if (a == objects.end() || b == objects.end())
        return false;
    std::iter_swap(a, b);
    Document.Modified = 1;
    return true;
}

int TSession::CountActiveDevices() const
{
    return ::CountActiveDevices(Devices);
}

// ---------------------------------------------------------------------------------------------
// Modes and the search.

void TSession::ChangeLineMode(int lineMode)
{
    LineMode = lineMode;
    if (!ApplyModeToSchemes)
        return;
    for (const auto& scheme : Document.Schemes)
        for (const auto& object : scheme->Objects)
            if (object->Mode != ModeDisabled)
                object->Mode = std::uint8_t(1 - lineMode);
}

bool TSession::SetDeviceMode(int mode)
{
    if (!CurrentDevice || mode < ModeReceive || mode > ModeDisabled || mode == CurrentDevice->SchemeObject->Mode)
        return false;
    CurrentDevice->SchemeObject->Mode = std::uint8_t(mode);
    return true;
}

void TSession::StartWalk(QObject* parent, THost* host, const TFramePlace* place, std::function<void()> onEnd)
{
    auto* walk = new TOpenSchemeThread;
    walk->setParent(parent);
    walk->FreeOnTerminate = true;
    walk->OnTerminate = [onEnd = std::move(onEnd)](TOpenSchemeThread*) { onEnd(); };
    walk->Scheme = PendingScheme;
    walk->MainWindow = host;
    walk->Handlers = place;
    OpenSchemeThread = walk;
    walk->Resume();
}

bool TSession::TakeWalkedScheme()
{
    if (!OpenSchemeThread || OpenSchemeThread->Terminated())
        return false;
    CurrentScheme = OpenSchemeThread->Scheme;
    return true;
}

bool TSession::SearchEndShows() const
{
    // A search can end while a scheme is being opened: there is nothing to add to then.
    return CurrentScheme && (SearchByUser || CurrentScheme->Objects.empty());
}
