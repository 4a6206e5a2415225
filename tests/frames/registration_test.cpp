#include <gtest/gtest.h>

#include <memory>

#include "frames/shared/FrameBinding.h"
#include "frames/shared/Registration.h"
#include "model/Catalogue.h"
#include "model/DeviceInfo.h"
#include "model/Scheme.h"

namespace {
// The frame class of every catalogue row, in row order.
const char* const RowFrameClass[DeviceCatalogueCount] = {
    "TEngineBlockFrame",
    "TGearBlockAFrame",
    "TGearBlockBFrame",
    "TLevellerAFrame",
    "TIoBlockAFrame",
    "TIoBlockBFrame",
    "TIoBlockEFrame",
    "TPressureAFrame",
    "TPressureAFrame",
    "TPressureAFrame",
    "TPressureAFrame",
    "TPressureAFrame",
    "TPressureAFrame",
    "TBoomLengthAFrame",
    "TBoomLengthBFrame",
    "TLineProximityAFrame",
    "TLineProximityBFrame",
    "TTravelCFrame",
    "TTravelCFrame",
    "TTravelCFrame",
    "TTravelCFrame",
    "TTensionAFrame",
    "TTensionBFrame",
    "TCompressionFrame",
    "TWindSpeedFrame",
    "TAzimuthAFrame",
    "TAzimuthBFrame",
    "TTiltAFrame",
    "TTiltBFrame",
    "TTiltCFrame",
    "TJoystickAFrame",
    "TJoystickAFrame",
    "TTravelAFrame",
    "TPressureBFrame",
    "TPressureBFrame",
    "TTravelBFrame",
    "TTiltBFrame",
    "TTiltCFrame",
    "TLevellerBFrame",
    "TBoomLengthCFrame",
    "TTravelFFrame",
    "TIoBlockCFrame",
    "TIoBlockDFrame",
    "TLineProximityCFrame",
    "TLineProximityCFrame",
    "TLineProximityCFrame",
    "TTensionCFrame",
    "TTensionCFrame",
    "TTensionCFrame",
    "TFuelLevelFrame",
    "TLevellerBFrame",
    "TIoBlockFFrame",
    "TBoomLengthCFrame",
    "TClockFrame",
    "TJoystickBFrame",
    "TJoystickBFrame",
    "TJoystickBFrame",
    "TJoystickBFrame",
    "TIndicatorFrame",
    "TIndicatorFrame",
    "TTerminalFrame",
    "TCurrentMeterFrame",
    "TTensionCFrame",
    "TLogicControllerFrame",
    "TIoBlockAFrame",
    "TIoBlockBFrame",
    "TTiltAFrame",
    "TFuelLevelFrame",
    "TTravelDFrame",
    "TTravelDFrame",
    "TTravelDFrame",
    "TTravelDFrame",
    "TTravelEFrame",
    "TTravelEFrame",
    "TTravelEFrame",
    "TTravelEFrame",
    "TDataReceiverFrame",
    "TTensionCFrame",
    "TTensionCFrame",
    "TTensionCFrame",
    "TTemperatureFrame",
    "TEngineDataFrame",
    "TAzimuthCFrame",
    "TTiltDFrame",
    "TTravelGFrame",
    "TUltrasonicFrame",
};
}

// After start-up binding every row builds the frame of its own class and decodes its answer,
// and a request decoder exists exactly where the request carries a body worth decoding.
TEST(Registration, EveryRowBuildsItsOwnFrameClass)
{
    RegisterFrameClasses();
    QWidget parent;
    TFrameHandlers handlers;
    handlers.Owner = &parent;
    handlers.Parent = &parent;
    for (int row = 0; row < DeviceCatalogueCount; ++row) {
        const TFrameInfo& info = DeviceCatalogue[row];
        ASSERT_NE(info.CreateFrame, nullptr) << row;
        EXPECT_NE(info.DescribeAnswer, nullptr) << row;
        EXPECT_EQ(info.DescribeRequest != nullptr, info.RequestLength > 1 && row != 63) << row;

        TSchemeObject object("x", static_cast<std::uint32_t>(row), ModeReceive);
        TDeviceInfo device(&object, &handlers, nullptr);
        ASSERT_TRUE(device.Frame) << row;
        EXPECT_STREQ(device.Frame->ClassName(), RowFrameClass[row]) << row;
        EXPECT_EQ(device.HasRequestEditor(), info.RequestLength > 1) << row;
        const std::uint8_t message[16] = {info.Address};
        EXPECT_FALSE(info.DescribeAnswer(message).isEmpty()) << row;
    }
}
