#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <vector>

#include "model/Catalogue.h"

namespace {
std::vector<int> RowsAt(int address)
{
    std::vector<int> rows;
    for (const TFrameInfo* info : FrameInfoVectors[address])
        rows.push_back(static_cast<int>(info - DeviceCatalogue));
    return rows;
}
}

TEST(Catalogue, EveryRowKeepsTheWireAddressRuleAndTheTableInvariants)
{
    const std::set<int> requestLengths{1, 3, 4, 5, 6, 16};
    const std::set<int> radices{0, 2, 3, 8};
    for (int row = 0; row < DeviceCatalogueCount; ++row) {
        const TFrameInfo& info = DeviceCatalogue[row];
        SCOPED_TRACE(row);
        // The table's bytes were written out by hand: the rule must give each of them.
        EXPECT_EQ(WireAddressOf(info.Address), info.WireAddress);
        EXPECT_TRUE(info.Address >= 1 && info.Address <= 62 && info.Address != 37);
        EXPECT_TRUE(requestLengths.count(info.RequestLength));
        EXPECT_EQ(info.RequestLength == 16, row == 60) << "only the terminal sends 16 bytes";
        EXPECT_TRUE(info.AnswerLength >= 3 && info.AnswerLength <= 11);
        EXPECT_TRUE(radices.count(info.Col2Radix) && radices.count(info.Col5Radix) && radices.count(info.Col6Radix));
        EXPECT_TRUE(info.Model && info.Description && info.LongDescription);
    }
    EXPECT_TRUE(IsValidType(85) && !IsValidType(86) && !IsValidType(0xFFFFFFFFu));
}

// Strictly rising rows, each at its own address, as many as the catalogue holds: every row once.
TEST(Catalogue, AddressListsHoldEveryRowOnceInCatalogueOrder)
{
    int total = 0;
    for (int address = 0; address < LineAddressCount; ++address) {
        const auto rows = RowsAt(address);
        EXPECT_EQ(std::adjacent_find(rows.begin(), rows.end(), std::greater_equal<>()), rows.end()) << address;
        for (int row : rows)
            EXPECT_EQ(DeviceCatalogue[row].Address, address) << "row " << row;
        total += static_cast<int>(rows.size());
    }
    EXPECT_EQ(total, DeviceCatalogueCount);
    EXPECT_EQ(RowsAt(4), (std::vector<int>{23, 25, 77, 82})) << "the first row of an address is the lowest";
}
