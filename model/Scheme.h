#pragma once
// Schemes and scheme objects: the devices of a machine as a scheme file stores them.
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// A 16-byte message image: byte 0 the address byte, then the body, then the XOR byte.
using TMessageImage = std::array<std::uint8_t, 16>;

// Device modes.
// clang-format off
enum : std::uint8_t { ModeReceive = 0, ModeEmulate = 1, ModeDisabled = 2 };
// clang-format on

class TSchemeObject {
public:
    TSchemeObject(const QString& name, std::uint8_t mode);
    TSchemeObject(const QString& name, std::uint32_t type, std::uint8_t mode);

    QString Name;
    std::uint32_t Type = 0;   // catalogue row, below DeviceCatalogueCount
    QString Comment;
    std::uint8_t Mode = 0;     // ModeReceive, ModeEmulate, ModeDisabled
    std::uint8_t Static = 0;   // 1 = polled rarely: no watchdog, no period display
    TMessageImage Request{};
    TMessageImage Answer{};
};

class TDeviceScheme {
public:
    explicit TDeviceScheme(const QString& name);

    QString Name;
    std::vector<std::unique_ptr<TSchemeObject>> Objects;   // display order; owned
};

using TSchemeList = std::vector<std::unique_ptr<TDeviceScheme>>;
