#pragma once
// A hostile line for the framing: a master sending requests for a random mix of emulated,
// listen-only, disabled and unknown rows, many at addresses that rows of other lengths share, now
// and then cut or damaged, with bursts of noise between them, answered by every device that is
// not emulated, in the scheme or not, with bodies that may hold an emulated row's wire byte,
// while the echo of every emulated answer is randomly
// whole, dropped, delayed, spaced, cut or corrupted (a byte may become an emulated row's wire
// byte or the plain address). The main thread may be slow: each synchronized step may move the
// virtual clock on, as a busy window holds the receive thread. Runs the line engine on a virtual
// clock and the scripted port until the line falls quiet, and reports what the invariants of
// the framing need: answers against requests per address, the bytes read and handed off, and
// the most bytes pending.
//
// The randomness comes from outside (a seeded generator in tests, the fuzzer's input), so a
// stream is a pure function of its draws.
#include <cstdint>
#include <functional>
#include <vector>

struct THostileOutcome {
    std::vector<std::uint8_t> Read;        // every byte the port delivered, in order
    std::vector<std::uint8_t> HandedOff;   // every byte of the line log, then those still held
    // Requests per address that the master sent to an emulated device: a whole request counts
    // once (its body is that exchange's), a scheme device's own whole exchange not at all when
    // nothing before it can still run into it; in the rest of the master's traffic (noise,
    // damaged or cut messages, exchanges of rows the scheme does not hold) every byte that reads
    // as such a request counts, since no framing can tell it from one.
    int Requests[64] = {};
    int Answers[64] = {};   // emulated answers written per address
    int MaxPending = 0;
    bool Settled = false;         // the line fell quiet within the pass limit
    bool LogOverflowed = false;   // the log wrapped: HandedOff is not comparable
    // Every byte kept its flag, every record has a code 0..6, and a good one has a row.
    bool Consistent = true;
    // Answers beyond requests at the worst address (0 or less when the invariant holds).
    int WorstExcess() const;
};

// Draw(n): a number in 0..n-1.
using THostileDraw = std::function<std::uint32_t(std::uint32_t n)>;

struct THostileSetup {
    bool LineEchoes = false;    // the connection's echo knowledge at the start
    bool LateEchoes = false;    // every echo that comes back comes 35-60 ms late
    std::uint32_t StepMs = 0;   // what each synchronized step costs the receive thread
    bool Stalls = false;        // and now and then a step stalls 5-25 ms more
};

// One stream.
THostileOutcome RunHostileLine(const THostileDraw& draw, const THostileSetup& setup);

// Every byte the line log's records hold, in order (each record's request, then its answer).
std::vector<std::uint8_t> LineLogBytes();
