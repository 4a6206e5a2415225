#include "model/RoundBuffer.h"

#include <algorithm>
#include <cassert>
#include <cstring>

// The callers check Count and Free() first; the asserts catch a caller that does not, and the
// clamps keep a release build from running over the block when one slips through.

TRoundBuffer::TRoundBuffer(std::int32_t size)
    : Size(std::max<std::int32_t>(size, 0)), Data(new std::uint8_t[std::max<std::int32_t>(size, 1)]())
{
    assert(size > 0);
}

void TRoundBuffer::Put(const std::uint8_t* bytes, std::int32_t n)
{
    assert(n >= 0 && n <= Free());
    n = std::clamp(n, 0, Free());
    if (n == 0)
        return;
    const std::int32_t first = std::min(n, Size - WritePos);
    std::memcpy(Data.get() + WritePos, bytes, first);
    std::memcpy(Data.get(), bytes + first, n - first);
    WritePos = (WritePos + n) % Size;
    Count += n;
}

void TRoundBuffer::Get(std::uint8_t* bytes, std::int32_t n)
{
    assert(n >= 0 && n <= Count);
    n = std::clamp(n, 0, Count);
    if (n == 0)
        return;
    Peek(bytes, n, 0);
    ReadPos = (ReadPos + n) % Size;
    Count -= n;
}

void TRoundBuffer::Peek(std::uint8_t* bytes, std::int32_t n) const
{
    Peek(bytes, n, 0);
}

void TRoundBuffer::Peek(std::uint8_t* bytes, std::int32_t n, std::int32_t offset) const
{
    assert(offset >= 0 && n >= 0 && offset <= Count && n <= Count - offset);
    offset = std::clamp(offset, 0, Count);
    n = std::clamp(n, 0, Count - offset);
    if (n == 0)
        return;
    const std::int32_t start = (ReadPos + offset) % Size;
    const std::int32_t first = std::min(n, Size - start);
    std::memcpy(bytes, Data.get() + start, first);
    std::memcpy(bytes + first, Data.get(), n - first);
}

std::uint8_t TRoundBuffer::At(std::int32_t offset) const
{
    assert(offset >= 0 && offset < Count);
    if (offset < 0 || offset >= Count)
        return 0;
    return Data[(ReadPos + offset) % Size];
}

void TRoundBuffer::Clear()
{
    ReadPos = WritePos;
    Count = 0;
}
