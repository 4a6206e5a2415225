#pragma once
// Devices on a simulated line: each answers the requests of its catalogue row that it hears on
// the line, at once, with its own body, or with a fault. Runs on the line simulator's thread.
#include <algorithm>
#include <atomic>
#include <mutex>

#include "line/Protocol.h"
#include "model/Catalogue.h"
#include "support/LineSimulator.h"

enum class BusFault { None, BadCheck, Cut, Silent };

struct BusDevice {
    int Row;
    std::vector<std::uint8_t> Body;   // the answer's data bytes
    BusFault Fault = BusFault::None;
};

class DeviceBus {
public:
    // byteTimeUs > 0 paces the line: the bus echoes every byte itself, one character time
    // after it went out (set the simulator's own echo to Dropped), and a device's answer takes
    // its characters' time too. 1146 us is an 11-bit character at 9600 baud.
    DeviceBus(LineSimulator& line, std::vector<BusDevice> devices, std::uint32_t byteTimeUs = 0)
        : line_(line), devices_(std::move(devices)), byteTimeUs_(byteTimeUs)
    {
        line_.SetOnHeard([this](const std::vector<std::uint8_t>& bytes) { Heard(bytes); });
    }
    ~DeviceBus() { line_.SetOnHeard(nullptr); }

    std::atomic<long> Requests{0};   // whole requests heard

private:
    void Heard(const std::vector<std::uint8_t>& bytes)
    {
        std::lock_guard lock(mutex_);
        if (byteTimeUs_ > 0)
            line_.Play(bytes, WireMs(bytes.size()));
        pending_.insert(pending_.end(), bytes.begin(), bytes.end());
        while (!pending_.empty()) {
            const auto device = std::find_if(devices_.begin(), devices_.end(), [this](const BusDevice& d) {
                return DeviceCatalogue[d.Row].WireAddress == pending_.front();
            });
            const auto rq = device == devices_.end() ? 1 : DeviceCatalogue[device->Row].RequestLength;
            if (pending_.size() < static_cast<std::size_t>(rq))
                return;   // the body comes in the next write
            pending_.erase(pending_.begin(), pending_.begin() + rq);
            if (device == devices_.end())
                continue;
            ++Requests;
            if (device->Fault != BusFault::Silent) {
                const auto answer = AnswerOf(*device);
                // Paced: the answer follows the request's echo, character by character.
                line_.Play(answer, byteTimeUs_ > 0 ? WireMs(bytes.size() + answer.size()) : 0);
            }
        }
    }
    static std::vector<std::uint8_t> AnswerOf(const BusDevice& device)
    {
        std::vector<std::uint8_t> answer{DeviceCatalogue[device.Row].Address};
        answer.insert(answer.end(), device.Body.begin(), device.Body.end());
        answer.push_back(CheckByteOf(answer.data(), static_cast<int>(answer.size())));
        if (device.Fault == BusFault::BadCheck)
            answer.back() ^= 0x5A;
        if (device.Fault == BusFault::Cut)
            answer.pop_back();
        return answer;
    }
    std::uint32_t WireMs(std::size_t bytes) const
    {
        return static_cast<std::uint32_t>((bytes * byteTimeUs_ + 999) / 1000);
    }

    LineSimulator& line_;
    std::vector<BusDevice> devices_;
    std::uint32_t byteTimeUs_ = 0;
    std::mutex mutex_;
    std::vector<std::uint8_t> pending_;
};
