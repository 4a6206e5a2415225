#pragma once
// Steers the fake FTDI library: opened by its compiled-in path, so its state is the one the
// port's loader sees once it loads the same file. The constructor resets it.
#include <cstdint>
#include <string>
#include <vector>

class FakeFtdi {
public:
    static const char* Path();          // the complete library
    static const char* NoQueuePath();   // the one without FT_GetQueueStatus

    explicit FakeFtdi(const char* path = Path());
    ~FakeFtdi();
    FakeFtdi(const FakeFtdi&) = delete;
    FakeFtdi& operator=(const FakeFtdi&) = delete;

    bool Ok() const { return handle_ != nullptr; }
    void Reset();
    void Fail(const char* entryPoint, std::uint32_t status);   // status 0 clears the switch
    void SetDevices(int count);
    void Feed(const std::vector<std::uint8_t>& bytes);
    std::string Log() const;   // "FT_Open(0) FT_SetBaudRate(9600) ...", arguments in decimal
    void ClearLog();
    bool IsOpen() const;

private:
    template <typename F>
    F* Symbol(const char* name) const;

    void* handle_;
};
