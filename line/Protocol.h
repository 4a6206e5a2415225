#pragma once
// The line's message rules, shared by the framing, the hand-off and the line monitor: the
// check byte, which bytes can begin a request, the result codes with their texts and the hex
// text of a message.
//
// A request is the row's wire address byte, its body and a check byte; an answer is the plain
// address byte, its body and a check byte. The check byte is the XOR of every byte before it,
// the address byte included. A one-byte message has no check byte and always passes.
#include <QString>
#include <cstdint>

class TRoundBuffer;

// Result codes of an exchange. NeedMore is internal to the classification and never shown.
enum : int {
    ResultNeedMore = -1,
    ResultOk = 0,
    ResultTimeout = 1,   // complete and right, but not read in time
    ResultAnswerCheck = 2,
    ResultShortAnswer = 3,
    ResultNoAnswer = 4,
    ResultRequestCheck = 5,
    ResultShortRequest = 6,
};
inline constexpr int ResultCodeCount = 7;

// One byte on the wire: 11 bits (start, 8 data bits, the parity bit that marks addresses, stop)
// at 9600 baud.
inline constexpr std::uint32_t LineByteTimeUs = 1146;
// The wire time of `bytes` bytes, in whole ms rounded up.
constexpr std::uint32_t WireTimeMs(int bytes)
{
    return (static_cast<std::uint32_t>(bytes) * LineByteTimeUs + 999) / 1000;
}

// UTF-8 texts of the codes 0..6; index them through ResultText.
extern const char* const ResultTexts[ResultCodeCount];
// The text of a code, or the empty text for a value outside 0..6.
QString ResultText(int code);

// Per-byte flags that travel with the bytes. Only the poll echo is shown (an apostrophe in the
// hex text); the answer echo is the program's own emulated answer heard back, which must never
// begin an exchange.
// clang-format off
enum : std::uint8_t { FlagPollEcho = 1, FlagAnswerEcho = 2 };
// clang-format on

// The 6-bit line address of any byte.
constexpr std::uint8_t AddressOf(std::uint8_t byte) { return byte & 0x3F; }

// True when the last of `length` bytes of a ring, starting `offset` bytes after its oldest byte,
// is the XOR of those before it (a single byte has no check byte and passes).
bool CheckByteOk(const TRoundBuffer& ring, int offset, int length);
// The check byte of `length` bytes: their XOR.
std::uint8_t CheckByteOf(const std::uint8_t* bytes, int length);

// True when the byte is the wire address of an address that has catalogue rows.
bool IsWireAddressByte(std::uint8_t byte);

// "81 12 '93": two upper-case hex digits per byte, one blank between, an apostrophe before a
// byte flagged as the poll echo. n <= 0 gives the empty text.
QString FormatHex(const std::uint8_t* bytes, const std::uint8_t* flags, int n);

// Longest request and answer in the catalogue, and so the longest hex texts.
inline constexpr int MaxRequestLength = 16;
inline constexpr int MaxAnswerLength = 11;
