#include "line/Port.h"

namespace {

constexpr std::uint32_t kDcbFlags = 3;   // binary, parity; no flow control, no error replacement

constexpr TDCB LineState(std::uint8_t parity)
{
    TDCB dcb{};
    dcb.DCBlength = sizeof(TDCB);
    dcb.BaudRate = 9600;
    dcb.Flags = kDcbFlags;
    dcb.ByteSize = 8;
    dcb.Parity = parity;
    dcb.StopBits = OneStopBit;
    dcb.ErrorChar = static_cast<char>(0xFF);
    return dcb;
}

}   // namespace

const TDCB ListenDCB = LineState(ParitySpace);
const TDCB AddressDCB = LineState(ParityMark);
const TComTimeouts ComTimeouts = {40, 0, 40, 0, 40};

QString PortRefusalText(TPortRefusal refusal)
{
    switch (refusal) {
    case TPortRefusal::NoAccess: return QStringLiteral(" — нет доступа");
    case TPortRefusal::Busy: return QStringLiteral(" — занят");
    case TPortRefusal::None: break;
    }
    return {};
}

bool IsFtdiPortName(const QString& name)
{
    return name.compare(QLatin1String("USB"), Qt::CaseInsensitive) == 0 &&
           name.size() == 3 && name.at(0).unicode() < 0x80 && name.at(1).unicode() < 0x80 &&
           name.at(2).unicode() < 0x80;
}

void TMVPort::SetName(const QString& name)
{
    Name = name;
    if (IsFtdiPortName(Name))
        BindFtdi();
    else
        BindCom();
}

void TMVPort::Assign(const TMVPort& source)
{
    Handle = source.Handle;
    lost_ = source.lost_;
    SetName(source.Name);
}
