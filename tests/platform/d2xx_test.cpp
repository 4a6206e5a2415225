// The adapter library loader: all 13 entry points or none.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "platform/D2xx.h"
#include "support/FakeFtdi.h"

namespace {

int StoredEntryPoints()
{
    int n = 0;
    for (int i = 0; i < d2xx::EntryPointCount; ++i)
        n += *d2xx::EntryPoints()[i].Slot != nullptr;
    return n;
}

bool Resident(const char* path)
{
    void* h = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
    if (h)
        dlclose(h);
    return h != nullptr;
}

class FtdiLoader : public ::testing::Test {
protected:
    void TearDown() override { FreeFtdiLibrary(); }
};

TEST_F(FtdiLoader, ResolvesTheThirteenEntryPointsInOrder)
{
    const char* expected[] = {"FT_ListDevices", "FT_Open", "FT_Close", "FT_ResetDevice", "FT_Purge",
                              "FT_Read", "FT_Write", "FT_SetBaudRate", "FT_SetTimeouts",
                              "FT_SetDataCharacteristics", "FT_SetFlowControl", "FT_SetLatencyTimer",
                              "FT_GetQueueStatus"};
    ASSERT_EQ(d2xx::EntryPointCount, 13);
    for (int i = 0; i < 13; ++i)
        EXPECT_STREQ(d2xx::EntryPoints()[i].Name, expected[i]);

    void* module = LoadFtdiLibrary(FakeFtdi::Path());
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(d2xx::Loaded());
    EXPECT_EQ(StoredEntryPoints(), 13);
    EXPECT_EQ(LoadFtdiLibrary(FakeFtdi::Path()), module) << "a second load hands back the same module";
}

TEST_F(FtdiLoader, PartialLibraryLeavesNothingBehind)
{
    EXPECT_EQ(LoadFtdiLibrary(FakeFtdi::NoQueuePath()), nullptr);
    EXPECT_FALSE(d2xx::Loaded());
    EXPECT_EQ(StoredEntryPoints(), 0) << "the twelve found before the missing one are cleared";
    EXPECT_FALSE(Resident(FakeFtdi::NoQueuePath())) << "the library is unloaded again";
}

TEST_F(FtdiLoader, FreeClearsEverythingAndUnloads)
{
    ASSERT_NE(LoadFtdiLibrary(FakeFtdi::Path()), nullptr);
    FreeFtdiLibrary();
    EXPECT_FALSE(d2xx::Loaded());
    EXPECT_EQ(StoredEntryPoints(), 0);
    EXPECT_FALSE(Resident(FakeFtdi::Path()));
    FreeFtdiLibrary();   // nothing loaded: harmless
    EXPECT_NE(LoadFtdiLibrary(FakeFtdi::Path()), nullptr) << "loads again after a free";
}

TEST_F(FtdiLoader, AbsentLibraryGivesNull)
{
    EXPECT_EQ(LoadFtdiLibrary("/nonexistent/libftd2xx.so"), nullptr);
    EXPECT_EQ(LoadFtdiLibrary(nullptr), nullptr);
    EXPECT_FALSE(d2xx::Loaded());
    EXPECT_EQ(StoredEntryPoints(), 0);
}

} // namespace
