#pragma once
// Steering the fake FTDI library from a test. The library is opened by path (the paths are
// compiled in), so its state is the one the port's loader sees once it loads the same file.
//
//   FakeFtdi fake;                       // opens the complete fake, resets it
//   ASSERT_TRUE(LoadFtdiLibrary(FakeFtdi::Path()));
//   fake.Fail("FT_SetTimeouts", 4);      // that entry point returns status 4 from now on
//   ... fake.Log() == "FT_Open(0) FT_SetBaudRate(9600) ..."
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
    void SetEcho(bool on);
    void Feed(const std::vector<std::uint8_t>& bytes);
    std::string Log() const;   // "FT_Open(0) FT_SetBaudRate(9600) ...", arguments in decimal
    void ClearLog();
    bool IsOpen() const;

private:
    template <typename F>
    F* Symbol(const char* name) const;

    void* handle_;
};
