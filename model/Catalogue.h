#pragma once
// The device catalogue: the constant table of the device types the system knows. A device's
// type is a row index of this table; several rows share one line address or one frame class.
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class QWidget;
class TFrame;
class TDeviceInfo;

// The frame factory of a row: makes the frame for one device object (owner = parent widget).
using TCreateFrame = TFrame* (*)(QWidget* owner, TDeviceInfo* info);
// A line-monitor decoder: the info line of a 16-byte message image (byte 0 the address byte).
using TDescribeMessage = QString (*)(const std::uint8_t* message);

struct TFrameInfo {
    const char* Model;         // UTF-8; the caption of the row in the catalogue list
    const char* Description;   // short device-kind text
    TCreateFrame CreateFrame;
    TDescribeMessage DescribeRequest;   // none where the request is the address byte alone
    TDescribeMessage DescribeAnswer;
    std::uint8_t Address;         // 0..63
    std::uint8_t WireAddress;     // the address byte the master sends
    std::uint8_t RequestLength;   // address byte, body, XOR byte; 1 = the address byte alone
    std::uint8_t AnswerLength;
    std::uint8_t Col2Radix;   // digit radix of grid column 2 (0 = not digit-coded)
    std::uint8_t Col5Radix;
    std::uint8_t Col6Radix;
    std::uint8_t Reserved1;
    std::uint32_t Reserved2;
    double Value1Step;             // Up/Down step of grid column 3
    double Value2Step;             // Up/Down step of grid column 4
    std::uint32_t LastSeenTick;    // tick of the last valid exchange; 0 = never (main thread)
    const char* LongDescription;   // UTF-8
};

inline constexpr int DeviceCatalogueCount = 86;
inline constexpr int LineAddressCount = 64;

// All fields but LastSeenTick and the three functions are constant. The functions are bound
// once at start-up, before any thread exists (BindFrameClass).
extern TFrameInfo DeviceCatalogue[DeviceCatalogueCount];

// The 64 per-address lists of catalogue rows, in catalogue order (so the first row of an
// address is the one with the lowest index).
extern const std::array<std::vector<TFrameInfo*>, LineAddressCount>& FrameInfoVectors;

// The address byte a master sends for an address: bits 0-5 the address, bit 6 the XOR of
// address bits 1, 3, 4, 5 and bit 7 the XOR of address bits 0, 1, 2, 4.
constexpr std::uint8_t WireAddressOf(std::uint8_t address)
{
    const auto bit = [address](int n) { return (address >> n) & 1; };
    const int b6 = bit(1) ^ bit(3) ^ bit(4) ^ bit(5);
    const int b7 = bit(0) ^ bit(1) ^ bit(2) ^ bit(4);
    return static_cast<std::uint8_t>((address & 0x3F) | (b6 << 6) | (b7 << 7));
}

inline bool IsValidType(std::uint32_t type) { return type < static_cast<std::uint32_t>(DeviceCatalogueCount); }

// Binds a row's frame factory and decoders. Called by the frames' registration step.
void BindFrameClass(int row, TCreateFrame create, TDescribeMessage describeRequest,
                    TDescribeMessage describeAnswer);
