// The device catalogue: its hand-written wire addresses follow the rule, its messages fit the
// image, and the lists by address hold every row once, in catalogue order.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "model/Catalogue.h"

// The table's bytes were written out by hand: the rule must give each of them.
TEST(Catalogue, EveryRowFollowsTheWireAddressRuleAndFitsTheMessageImage)
{
    for (int row = 0; row < DeviceCatalogueCount; ++row) {
        const TFrameInfo& info = DeviceCatalogue[row];
        EXPECT_EQ(WireAddressOf(info.Address), info.WireAddress) << row;
        EXPECT_TRUE(info.RequestLength <= 16 && info.AnswerLength <= 16) << row;
    }
}

// Strictly rising rows, each at its own address, as many as the catalogue holds: every row once.
TEST(Catalogue, AddressListsHoldEveryRowOnceInCatalogueOrder)
{
    int total = 0;
    for (int address = 0; address < LineAddressCount; ++address) {
        std::vector<int> rows;
        for (const TFrameInfo* info : FrameInfoVectors[address])
            rows.push_back(static_cast<int>(info - DeviceCatalogue));
        EXPECT_EQ(std::adjacent_find(rows.begin(), rows.end(), std::greater_equal<>()), rows.end()) << address;
        for (int row : rows)
            EXPECT_EQ(DeviceCatalogue[row].Address, address) << "row " << row;
        total += static_cast<int>(rows.size());
    }
    EXPECT_EQ(total, DeviceCatalogueCount);
}
