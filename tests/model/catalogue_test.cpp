#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "model/Catalogue.h"

namespace {
// The check bits worked out bit by bit, apart from the library's own helper.
std::uint8_t ExpectedWire(int address)
{
    const auto a = [address](int n) { return (address >> n) & 1; };
    const int b6 = a(1) ^ a(3) ^ a(4) ^ a(5);
    const int b7 = a(0) ^ a(1) ^ a(2) ^ a(4);
    return static_cast<std::uint8_t>(address | (b6 << 6) | (b7 << 7));
}

int RowOf(const TFrameInfo* info) { return static_cast<int>(info - DeviceCatalogue); }

std::vector<int> RowsAt(int address)
{
    std::vector<int> rows;
    for (const TFrameInfo* info : FrameInfoVectors[address])
        rows.push_back(RowOf(info));
    return rows;
}
}

TEST(Catalogue, WireAddressFollowsTheCheckBitRuleInEveryRow)
{
    for (int row = 0; row < DeviceCatalogueCount; ++row) {
        const TFrameInfo& info = DeviceCatalogue[row];
        EXPECT_EQ(info.WireAddress, ExpectedWire(info.Address)) << "row " << row;
        EXPECT_EQ(WireAddressOf(info.Address), ExpectedWire(info.Address)) << "row " << row;
    }
    EXPECT_EQ(WireAddressOf(52), 0x34);
    EXPECT_EQ(WireAddressOf(51), 0xF3);
    EXPECT_EQ(WireAddressOf(62), 0xBE);
}

TEST(Catalogue, EveryRowKeepsTheTableInvariants)
{
    const std::set<int> requestLengths{1, 3, 4, 5, 6, 16};
    const std::set<int> radices{0, 2, 3, 8};
    for (int row = 0; row < DeviceCatalogueCount; ++row) {
        const TFrameInfo& info = DeviceCatalogue[row];
        SCOPED_TRACE(row);
        EXPECT_GE(info.Address, 1);
        EXPECT_LE(info.Address, 62);
        EXPECT_NE(info.Address, 37);
        EXPECT_TRUE(requestLengths.count(info.RequestLength));
        EXPECT_GE(info.AnswerLength, 3);
        EXPECT_LE(info.AnswerLength, 11);
        EXPECT_TRUE(radices.count(info.Col2Radix));
        EXPECT_TRUE(radices.count(info.Col5Radix));
        EXPECT_TRUE(radices.count(info.Col6Radix));
        EXPECT_EQ(info.Reserved1, 0);
        EXPECT_EQ(info.Reserved2, 0u);
        EXPECT_EQ(info.LastSeenTick, 0u);
        ASSERT_NE(info.Model, nullptr);
        ASSERT_NE(info.Description, nullptr);
        ASSERT_NE(info.LongDescription, nullptr);
        EXPECT_GT(std::strlen(info.Model), 0u);
        EXPECT_GT(std::strlen(info.Description), 0u);
        EXPECT_GT(std::strlen(info.LongDescription), 0u);
        EXPECT_EQ(info.RequestLength == 16, row == 60) << "only the terminal sends 16 bytes";
    }
}

TEST(Catalogue, UsesSixtyOneAddresses)
{
    std::set<int> addresses;
    for (const auto& info : DeviceCatalogue)
        addresses.insert(info.Address);
    EXPECT_EQ(addresses.size(), 61u);
}

TEST(Catalogue, SampleRowsHoldTheirTabledValues)
{
    struct Expected {
        int row;
        const char* model;
        const char* description;
        int address, wire, rq, an, c2, c5, c6;
        double step1, step2;
    };
    const Expected rows[] = {
        {0, "Engine-1", "Блок для двигателя", 52, 0x34, 3, 9, 2, 2, 8, 1, 1},
        {3, "Leveller-1", "Блок управления горизонтированием", 39, 0xA7, 6, 6, 0, 0, 0, 0.01, 0.01},
        {16, "LineProx-2", "Датчик приближения к ЛЭП", 40, 0x28, 3, 6, 2, 3, 0, 1, 0.01},
        {26, "Azimuth-2", "Датчик азимута", 14, 0x0E, 1, 4, 0, 3, 0, 0.3, 4},
        {38, "Leveller-1", "Блок управления горизонтированием", 38, 0x26, 3, 4, 2, 0, 2, 0.06, 0},
        {41, "IoBlock-2", "Блок входов и нагрузок", 53, 0xB5, 4, 4, 2, 0, 8, 0, 0},
        {60, "TTY", "Терминал", 62, 0xBE, 16, 5, 0, 0, 0, 1, 1},
        {61, "CurrentMeter-1", "Блок измерения тока", 36, 0xE4, 1, 6, 3, 0, 0, 1, 1},
        {63, "Logic-1", "Блок логического контроллера", 47, 0xEF, 5, 5, 0, 0, 0, 1, 0},
        {76, "Receiver-1", "Блок приема данных", 32, 0x60, 1, 4, 0, 0, 0, 1, 0},
        {81, "Данные двигателя", "Данные двигателя", 61, 0xFD, 1, 5, 0, 0, 0, 1, 0},
        {85, "Ultrasonic-1", "Ультразвуковой дальномер", 28, 0x1C, 1, 11, 0, 3, 0, 0.01, 1},
    };
    for (const auto& e : rows) {
        const TFrameInfo& info = DeviceCatalogue[e.row];
        SCOPED_TRACE(e.row);
        EXPECT_STREQ(info.Model, e.model);
        EXPECT_STREQ(info.Description, e.description);
        EXPECT_EQ(info.Address, e.address);
        EXPECT_EQ(info.WireAddress, e.wire);
        EXPECT_EQ(info.RequestLength, e.rq);
        EXPECT_EQ(info.AnswerLength, e.an);
        EXPECT_EQ(info.Col2Radix, e.c2);
        EXPECT_EQ(info.Col5Radix, e.c5);
        EXPECT_EQ(info.Col6Radix, e.c6);
        EXPECT_EQ(info.Value1Step, e.step1);
        EXPECT_EQ(info.Value2Step, e.step2);
    }
}

TEST(Catalogue, RowsWithoutASubjectShowTheDefaultText)
{
    const std::set<int> described{3,  4,  5,  7,  8,  9,  10, 11, 12, 13, 15, 16, 21, 22, 23, 24, 25, 26, 27, 28,
                                  29, 30, 31, 33, 34, 36, 37, 38, 43, 44, 45, 46, 47, 48, 62, 64, 65, 66, 82};
    for (int row = 0; row < DeviceCatalogueCount; ++row) {
        const bool isDefault = std::strcmp(DeviceCatalogue[row].LongDescription, "Нет описания.") == 0;
        EXPECT_EQ(isDefault, !described.count(row)) << "row " << row;
    }
}

TEST(Catalogue, RowsOfOneSubjectShareTheirText)
{
    const std::vector<std::vector<int>> subjects{
        {7, 8, 9, 10, 11, 12, 33, 34}, {22, 46, 47, 48, 62}, {15, 43, 44, 45}, {4, 5, 64, 65},
        {28, 29, 36, 37},              {25, 82},             {27, 66},         {30, 31},
        {3, 38}};
    for (const auto& rows : subjects)
        for (int row : rows)
            EXPECT_STREQ(DeviceCatalogue[row].LongDescription, DeviceCatalogue[rows.front()].LongDescription)
                << "row " << row;
    EXPECT_STRNE(DeviceCatalogue[21].LongDescription, DeviceCatalogue[22].LongDescription) << "500 and 1000 kg";
    EXPECT_STRNE(DeviceCatalogue[15].LongDescription, DeviceCatalogue[16].LongDescription);
}

TEST(Catalogue, AddressListsHoldEveryRowOnceInCatalogueOrder)
{
    int total = 0;
    for (int address = 0; address < LineAddressCount; ++address) {
        const auto rows = RowsAt(address);
        EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end())) << "address " << address;
        for (int row : rows)
            EXPECT_EQ(DeviceCatalogue[row].Address, address) << "row " << row;
        total += static_cast<int>(rows.size());
    }
    EXPECT_EQ(total, DeviceCatalogueCount);
}

TEST(Catalogue, AddressListsOfSharedAndUnusedAddresses)
{
    struct Case {
        int address;
        std::vector<int> rows;
    };
    const Case cases[] = {
        {0, {}},
        {37, {}},
        {63, {}},
        {4, {23, 25, 77, 82}},
        {28, {20, 71, 75, 85}},
        {29, {39, 84}},
        {50, {1, 4}},
        {62, {60}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RowsAt(c.address), c.rows) << "address " << c.address;
}

TEST(Catalogue, ValidTypesEndBeforeTheRowCount)
{
    EXPECT_TRUE(IsValidType(0));
    EXPECT_TRUE(IsValidType(85));
    EXPECT_FALSE(IsValidType(86));
    EXPECT_FALSE(IsValidType(0xFFFFFFFFu));
}

namespace {
QString FakeDescribe(const std::uint8_t*) { return QStringLiteral("fake"); }
}

TEST(Catalogue, BindFrameClassSetsTheRowsFunctionsAndCanBeOverridden)
{
    TFrameInfo& row = DeviceCatalogue[42];
    const TFrameInfo saved = row;
    const TDescribeMessage neighbour = DeviceCatalogue[41].DescribeAnswer;
    BindFrameClass(42, nullptr, &FakeDescribe, &FakeDescribe);
    EXPECT_EQ(row.DescribeRequest, &FakeDescribe);
    EXPECT_EQ(row.DescribeAnswer, &FakeDescribe);
    BindFrameClass(42, nullptr, nullptr, &FakeDescribe);
    EXPECT_EQ(row.DescribeRequest, nullptr);
    EXPECT_EQ(DeviceCatalogue[41].DescribeAnswer, neighbour);
    BindFrameClass(42, saved.CreateFrame, saved.DescribeRequest, saved.DescribeAnswer);
    EXPECT_EQ(row.Address, saved.Address);
}
