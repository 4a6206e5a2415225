// The device catalogue: every row's figures as the catalogue gives them (no message longer than
// the image), its hand-written wire addresses follow the rule, and the lists by address hold every
// row once, in catalogue order.
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "model/Catalogue.h"

// Strictly rising rows, each at its own address, as many as the catalogue holds: every row once.
// The table's wire bytes were written out by hand: the rule must give each of them.
TEST(Catalogue, AddressListsHoldEveryRowOnceInOrderWithItsWireAddress)
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
        }
        total += static_cast<int>(rows.size());
    }
    EXPECT_EQ(total, DeviceCatalogueCount);
}

// Every figure of every row, as the catalogue lists them: a length a byte short, an address or a
// step moved, a radix changed in one row would frame, poll or step that model wrongly.
TEST(Catalogue, EveryRowHasItsModelAddressLengthsRadicesAndSteps)
{
    struct TRow {
        int Row;
        const char* Model;
        int Address, Wire, Request, Answer, Col2, Col5, Col6;
        double Step1, Step2;
    };
    // clang-format off
    const TRow rows[] = {
    {0, "Engine-1", 52, 0x34, 3, 9, 2, 2, 8, 1, 1},
    {1, "Gear-1", 50, 0x72, 1, 7, 0, 0, 0, 1, 0.01},
    {2, "Gear-1", 51, 0xF3, 3, 9, 2, 0, 8, 1, 0.01},
    {3, "Leveller-1", 39, 0xA7, 6, 6, 0, 0, 0, 0.01, 0.01},
    {4, "IoBlock-1/2", 50, 0x72, 1, 6, 0, 3, 0, 0, 0},
    {5, "IoBlock-1", 51, 0xF3, 3, 8, 2, 0, 8, 1, 1},
    {6, "IoBlock-4", 53, 0xB5, 4, 6, 2, 2, 2, 0, 0},
    {7, "Pressure-1", 6, 0x46, 1, 4, 0, 0, 0, 0.02, 0},
    {8, "Pressure-1", 7, 0xC7, 1, 4, 0, 0, 0, 0.02, 0},
    {9, "Pressure-1", 24, 0x98, 1, 4, 0, 0, 0, 0.02, 0},
    {10, "Pressure-2", 21, 0xD5, 1, 4, 0, 0, 0, 0.02, 0},
    {11, "Pressure-2", 22, 0x96, 1, 4, 0, 0, 0, 0.02, 0},
    {12, "Pressure-2", 23, 0x17, 1, 4, 0, 0, 0, 0.02, 0},
    {13, "BoomLength-1", 3, 0x43, 1, 6, 0, 2, 0, 0.01, 0.01},
    {14, "BoomLength-2", 13, 0x4D, 1, 6, 0, 3, 0, 0.01, 0.01},
    {15, "LineProx-1", 5, 0x05, 1, 4, 0, 3, 0, 1, 0},
    {16, "LineProx-2", 40, 0x28, 3, 6, 2, 3, 0, 1, 0.01},
    {17, "Travel-3", 25, 0x19, 1, 4, 0, 0, 0, 1, 0},
    {18, "Travel-3", 26, 0x5A, 1, 4, 0, 0, 0, 1, 0},
    {19, "Travel-3", 27, 0xDB, 1, 4, 0, 0, 0, 1, 0},
    {20, "Travel-3", 28, 0x1C, 1, 4, 0, 0, 0, 1, 0},
    {21, "Tension-1", 6, 0x46, 1, 4, 0, 0, 0, 0.01, 0},
    {22, "Tension-2", 32, 0x60, 1, 4, 0, 3, 0, 1, 0},
    {23, "Compression-1", 4, 0x84, 1, 4, 0, 2, 0, 1, 0},
    {24, "Wind-1", 15, 0x8F, 1, 4, 0, 3, 0, 0.1, 0},
    {25, "Azimuth-1", 4, 0x84, 1, 7, 0, 2, 0, 1, 1},
    {26, "Azimuth-2", 14, 0x0E, 1, 4, 0, 3, 0, 0.3, 4},
    {27, "Tilt-1", 3, 0x43, 1, 4, 0, 2, 0, 0.01, 0},
    {28, "Tilt-2", 1, 0x81, 1, 4, 0, 0, 0, 0.01, 0},
    {29, "Tilt-2", 2, 0xC2, 1, 4, 0, 2, 0, 0.01, 0},
    {30, "Joystick-1", 59, 0xBB, 4, 3, 2, 2, 2, 0, 0},
    {31, "Joystick-1", 60, 0x7C, 4, 3, 2, 2, 2, 0, 0},
    {32, "Travel-1", 12, 0xCC, 1, 5, 0, 3, 0, 1, 4},
    {33, "Pressure-3", 19, 0x93, 1, 4, 0, 3, 0, 0.02, 0},
    {34, "Pressure-4", 20, 0x54, 1, 4, 0, 3, 0, 0.02, 0},
    {35, "Travel-2", 16, 0xD0, 1, 5, 0, 3, 0, 1, 0},
    {36, "Tilt-3", 17, 0x51, 1, 4, 0, 0, 0, 0.01, 0},
    {37, "Tilt-3", 18, 0x12, 1, 4, 0, 2, 0, 0.01, 0},
    {38, "Leveller-1", 38, 0x26, 3, 4, 2, 0, 2, 0.06, 0},
    {39, "BoomLength-3", 29, 0x9D, 1, 6, 0, 3, 0, 0.01, 1},
    {40, "Travel-6", 11, 0x0B, 1, 4, 0, 3, 0, 1, 0},
    {41, "IoBlock-2", 53, 0xB5, 4, 4, 2, 0, 8, 0, 0},
    {42, "IoBlock-2", 54, 0xF6, 3, 6, 2, 3, 0, 1, 1},
    {43, "LineProx-3", 41, 0xA9, 1, 4, 0, 3, 0, 1, 0},
    {44, "LineProx-3", 42, 0xEA, 1, 4, 0, 3, 0, 1, 0},
    {45, "LineProx-3", 43, 0x6B, 1, 4, 0, 3, 0, 1, 0},
    {46, "Tension-3", 32, 0x60, 1, 4, 0, 0, 0, 1, 0},
    {47, "Tension-3", 33, 0xE1, 1, 4, 0, 0, 0, 1, 0},
    {48, "Tension-3", 34, 0xA2, 1, 4, 0, 0, 0, 1, 0},
    {49, "Fuel-1", 10, 0x8A, 1, 4, 0, 0, 0, 0.01, 0.01},
    {50, "Leveller-2", 44, 0xAC, 3, 4, 2, 0, 2, 0.06, 0},
    {51, "IoBlock-5", 35, 0x23, 4, 3, 2, 2, 0, 0, 0},
    {52, "BoomLength-4", 30, 0xDE, 1, 6, 0, 3, 0, 0.01, 1},
    {53, "Clock-1", 31, 0x5F, 1, 8, 0, 0, 0, 1, 1},
    {54, "Joystick-2", 55, 0x77, 1, 5, 0, 2, 2, 1, 1},
    {55, "Joystick-2", 56, 0xF8, 1, 5, 0, 2, 2, 1, 1},
    {56, "Joystick-2", 57, 0x79, 1, 5, 0, 2, 2, 1, 1},
    {57, "Joystick-2", 58, 0x3A, 1, 5, 0, 2, 2, 1, 1},
    {58, "Indicator-1", 45, 0x2D, 3, 3, 2, 0, 2, 1, 1},
    {59, "Indicator-1", 46, 0x6E, 3, 3, 2, 0, 2, 1, 1},
    {60, "TTY", 62, 0xBE, 16, 5, 0, 0, 0, 1, 1},
    {61, "CurrentMeter-1", 36, 0xE4, 1, 6, 3, 0, 0, 1, 1},
    {62, "Tension-3", 9, 0xC9, 1, 4, 0, 0, 0, 1, 0},
    {63, "Logic-1", 47, 0xEF, 5, 5, 0, 0, 0, 1, 0},
    {64, "IoBlock-3", 45, 0x2D, 1, 6, 0, 3, 0, 0, 0},
    {65, "IoBlock-3", 46, 0x6E, 3, 8, 2, 0, 8, 1, 1},
    {66, "Tilt-4", 13, 0x4D, 1, 4, 0, 2, 0, 0.01, 0},
    {67, "Fuel-1", 8, 0x48, 1, 4, 0, 0, 0, 0.01, 0.01},
    {68, "Travel-4.1", 25, 0x19, 1, 4, 0, 0, 0, 1, 0},
    {69, "Travel-4.4", 26, 0x5A, 1, 4, 0, 0, 0, 1, 0},
    {70, "Travel-4.3", 27, 0xDB, 1, 4, 0, 0, 0, 1, 0},
    {71, "Travel-4.2", 28, 0x1C, 1, 4, 0, 0, 0, 1, 0},
    {72, "Travel-5.1", 25, 0x19, 1, 4, 0, 0, 0, 1, 0},
    {73, "Travel-5.4", 26, 0x5A, 1, 4, 0, 0, 0, 1, 0},
    {74, "Travel-5.3", 27, 0xDB, 1, 4, 0, 0, 0, 1, 0},
    {75, "Travel-5.2", 28, 0x1C, 1, 4, 0, 0, 0, 1, 0},
    {76, "Receiver-1", 32, 0x60, 1, 4, 0, 0, 0, 1, 0},
    {77, "Bend-1", 4, 0x84, 1, 4, 0, 0, 0, 1, 0},
    {78, "Bend-1", 6, 0x46, 1, 4, 0, 0, 0, 1, 0},
    {79, "Bend-1", 9, 0xC9, 1, 4, 0, 0, 0, 1, 0},
    {80, "Temperature-1", 48, 0xB0, 1, 3, 0, 0, 0, 1, 0},
    {81, "Данные двигателя", 61, 0xFD, 1, 5, 0, 0, 0, 1, 0},
    {82, "Azimuth-2", 4, 0x84, 1, 7, 0, 2, 0, 1, 1},
    {83, "Tilt-5", 49, 0x31, 1, 5, 0, 0, 0, 1, 0},
    {84, "Travel-7", 29, 0x9D, 1, 6, 0, 3, 0, 0.01, 1},
    {85, "Ultrasonic-1", 28, 0x1C, 1, 11, 0, 3, 0, 0.01, 1},
    };
    // clang-format on
    ASSERT_EQ(std::size(rows), std::size_t(DeviceCatalogueCount));
    for (const TRow& r : rows) {
        const TFrameInfo& info = DeviceCatalogue[r.Row];
        SCOPED_TRACE(r.Row);
        EXPECT_EQ(std::string(info.Model), r.Model);
        EXPECT_EQ(info.Address, r.Address);
        EXPECT_EQ(info.WireAddress, r.Wire);
        EXPECT_EQ(info.RequestLength, r.Request);
        EXPECT_EQ(info.AnswerLength, r.Answer);
        EXPECT_EQ(info.Col2Radix, r.Col2);
        EXPECT_EQ(info.Col5Radix, r.Col5);
        EXPECT_EQ(info.Col6Radix, r.Col6);
        EXPECT_EQ(info.Value1Step, r.Step1);
        EXPECT_EQ(info.Value2Step, r.Step2);
    }
}
