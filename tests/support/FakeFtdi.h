#pragma once
// Steers the fake FTDI library: opened by its compiled-in path, so its state is the one the
// port's loader sees once it loads the same file. The constructor resets it.
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

// The fake library's state, which the library and the tests share: one adapter on the bus.
struct TFakeAdapter {
    int Devices = 1;
    bool Open = false;
    std::string Log;                                 // "FT_Open(0) FT_SetBaudRate(9600) ...", arguments in decimal
    std::map<std::string, std::uint32_t> Failures;   // the status a named entry point fails with
    std::deque<std::uint8_t> Input;                  // what FT_Read gives next
};

class FakeFtdi {
public:
    static const char* Path();          // the complete library
    static const char* NoQueuePath();   // the one without FT_GetQueueStatus

    explicit FakeFtdi(const char* path = Path());
    ~FakeFtdi();
    FakeFtdi(const FakeFtdi&) = delete;
    FakeFtdi& operator=(const FakeFtdi&) = delete;

    bool Ok() const { return adapter_ != &unloaded_; }
    void Reset() { *adapter_ = TFakeAdapter{}; }
    // Status 0 clears the switch.
    void Fail(const char* entryPoint, std::uint32_t status) { adapter_->Failures[entryPoint] = status; }
    void SetDevices(int count) { adapter_->Devices = count; }
    void Feed(const std::vector<std::uint8_t>& bytes) { adapter_->Input.insert(adapter_->Input.end(), bytes.begin(), bytes.end()); }
    std::string Log() const { return adapter_->Log; }
    void ClearLog() { adapter_->Log.clear(); }
    bool IsOpen() const { return adapter_->Open; }

private:
    void* handle_;
    TFakeAdapter unloaded_;   // steered when the library did not load: the test's expectations fail
    TFakeAdapter* adapter_ = &unloaded_;
};
