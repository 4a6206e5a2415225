#include "model/Scheme.h"

TSchemeObject::TSchemeObject(const QString& name, std::uint8_t mode) : Name(name), Mode(mode) {}

TSchemeObject::TSchemeObject(const QString& name, std::uint32_t type, std::uint8_t mode)
    : Name(name), Type(type), Mode(mode)
{
}

TDeviceScheme::TDeviceScheme(const QString& name) : Name(name) {}
