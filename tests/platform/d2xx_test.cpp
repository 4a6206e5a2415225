// The adapter library loader: all 13 entry points or none.
#include <algorithm>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "platform/D2xx.h"
#include "support/FakeFtdi.h"

namespace {

long StoredEntryPoints()
{
    const d2xx::EntryPoint* all = d2xx::EntryPoints();
    return std::count_if(all, all + d2xx::EntryPointCount, [](const d2xx::EntryPoint& e) { return *e.Slot != nullptr; });
}

bool Resident(const char* path)
{
    void* h = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
    return h && dlclose(h) == 0;
}

class FtdiLoader : public ::testing::Test {
protected:
    void TearDown() override { FreeFtdiLibrary(); }
};

TEST_F(FtdiLoader, ResolvesAllThirteenEntryPointsAndFreeClearsThemAndUnloads)
{
    void* module = LoadFtdiLibrary(FakeFtdi::Path());
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(d2xx::Loaded());
    EXPECT_EQ(StoredEntryPoints(), 13);
    EXPECT_EQ(LoadFtdiLibrary(FakeFtdi::Path()), module) << "a second load hands back the same module";
    FreeFtdiLibrary();
    EXPECT_FALSE(d2xx::Loaded());
    EXPECT_EQ(StoredEntryPoints(), 0);
    EXPECT_FALSE(Resident(FakeFtdi::Path()));
    FreeFtdiLibrary();   // nothing loaded: harmless
    EXPECT_NE(LoadFtdiLibrary(FakeFtdi::Path()), nullptr) << "loads again after a free";
}

TEST_F(FtdiLoader, PartialOrAbsentLibraryLeavesNothingBehind)
{
    EXPECT_EQ(LoadFtdiLibrary(FakeFtdi::NoQueuePath()), nullptr);
    EXPECT_FALSE(d2xx::Loaded());
    EXPECT_EQ(StoredEntryPoints(), 0) << "the twelve found before the missing one are cleared";
    EXPECT_FALSE(Resident(FakeFtdi::NoQueuePath())) << "the library is unloaded again";
    EXPECT_EQ(LoadFtdiLibrary("/nonexistent/libftd2xx.so"), nullptr);
    EXPECT_EQ(LoadFtdiLibrary(nullptr), nullptr);
    EXPECT_FALSE(d2xx::Loaded());
}

}   // namespace
