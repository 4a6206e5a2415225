// The device catalogue: its hand-written wire addresses follow the rule, its messages fit the
// image, and the lists by address hold every row once, in catalogue order.
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include "model/Catalogue.h"

// Strictly rising rows, each at its own address, as many as the catalogue holds: every row once.
// The table's wire bytes were written out by hand: the rule must give each of them.
TEST(Catalogue, AddressListsHoldEveryRowOnceInOrderWithItsWireAddressAndItsMessagesFit)
{
    int total = 0;
    for (int address = 0; address < LineAddressCount; ++address) {
        std::vector<int> rows;
        for (const TFrameInfo* info : FrameInfoVectors[address])
            rows.push_back(static_cast<int>(info - DeviceCatalogue));
        EXPECT_EQ(std::adjacent_find(rows.begin(), rows.end(), std::greater_equal<>()), rows.end()) << address;
        for (int row : rows) {
            const TFrameInfo& info = DeviceCatalogue[row];
            EXPECT_EQ(info.Address, address) << "row " << row;
            EXPECT_EQ(info.WireAddress, WireAddressOf(address)) << "row " << row;
            EXPECT_TRUE(info.RequestLength <= 16 && info.AnswerLength <= 16) << "row " << row;
        }
        total += static_cast<int>(rows.size());
    }
    EXPECT_EQ(total, DeviceCatalogueCount);
}
