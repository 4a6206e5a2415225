#include <gtest/gtest.h>

#include "frames/Registration.h"
#include "model/Catalogue.h"

// After start-up binding every row can build a frame and decode its answer, and a request
// decoder exists exactly where the request carries a body worth decoding.
TEST(Registration, EveryRowIsBound)
{
    RegisterFrameClasses();
    for (int row = 0; row < DeviceCatalogueCount; ++row) {
        const TFrameInfo& info = DeviceCatalogue[row];
        EXPECT_NE(info.CreateFrame, nullptr) << row;
        EXPECT_NE(info.DescribeAnswer, nullptr) << row;
        const bool decodable = info.RequestLength > 1 && row != 63;
        EXPECT_EQ(info.DescribeRequest != nullptr, decodable) << row;
    }
}
