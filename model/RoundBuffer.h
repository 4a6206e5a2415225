#pragma once
// A byte ring of fixed capacity, used by one thread. The caller checks Count first: it gets or
// peeks only what is held and puts only into free space.
#include <cstdint>
#include <memory>

class TRoundBuffer {
public:
    explicit TRoundBuffer(std::int32_t size);

    void Put(const std::uint8_t* bytes, std::int32_t n);
    void Get(std::uint8_t* bytes, std::int32_t n);
    void Peek(std::uint8_t* bytes, std::int32_t n) const;
    // n bytes starting `offset` bytes after ReadPos, without advancing.
    void Peek(std::uint8_t* bytes, std::int32_t n, std::int32_t offset) const;
    std::uint8_t At(std::int32_t offset) const;
    void Clear();
    std::int32_t Free() const { return Size - Count; }

    const std::int32_t Size;
    std::int32_t ReadPos = 0;
    std::int32_t WritePos = 0;
    std::int32_t Count = 0;
    std::unique_ptr<std::uint8_t[]> Data;
};
