// The list of frame models: every frame unit binds the catalogue rows its class serves.
#include "frames/Registration.h"

#include <cassert>

#include "frames/AzimuthA.h"
#include "frames/AzimuthB.h"
#include "frames/AzimuthC.h"
#include "frames/BoomLengthA.h"
#include "frames/BoomLengthB.h"
#include "frames/BoomLengthC.h"
#include "frames/Clock.h"
#include "frames/CurrentMeter.h"
#include "frames/DataReceiver.h"
#include "frames/EngineBlock.h"
#include "frames/EngineData.h"
#include "frames/GearBlockA.h"
#include "frames/GearBlockB.h"
#include "frames/Indicator.h"
#include "frames/IoBlockA.h"
#include "frames/IoBlockB.h"
#include "frames/IoBlockC.h"
#include "frames/IoBlockD.h"
#include "frames/IoBlockE.h"
#include "frames/IoBlockF.h"
#include "frames/JoystickA.h"
#include "frames/JoystickB.h"
#include "frames/LevellerA.h"
#include "frames/LevellerB.h"
#include "frames/LineProximityB.h"
#include "frames/LogicController.h"
#include "frames/SingleValue.h"
#include "frames/Temperature.h"
#include "frames/Terminal.h"
#include "frames/TiltD.h"
#include "frames/TravelA.h"
#include "frames/TravelB.h"
#include "frames/TravelD.h"
#include "frames/TravelE.h"
#include "frames/TravelG.h"
#include "frames/Ultrasonic.h"

void RegisterFrameClasses()
{
    // Each frame unit binds the rows its class serves.
    RegisterAzimuthAFrames();
    RegisterAzimuthBFrames();
    RegisterAzimuthCFrames();
    RegisterBoomLengthAFrames();
    RegisterBoomLengthBFrames();
    RegisterBoomLengthCFrames();
    RegisterClockFrame();
    RegisterCurrentMeterFrames();
    RegisterDataReceiverFrames();
    RegisterEngineBlockFrames();
    RegisterEngineDataFrames();
    RegisterGearBlockAFrames();
    RegisterGearBlockBFrames();
    RegisterIndicatorFrames();
    RegisterIoBlockAFrames();
    RegisterIoBlockBFrames();
    RegisterIoBlockCFrames();
    RegisterIoBlockDFrames();
    RegisterIoBlockEFrames();
    RegisterIoBlockFFrames();
    RegisterJoystickAFrames();
    RegisterJoystickBFrames();
    RegisterLevellerAFrames();
    RegisterLevellerBFrames();
    RegisterLineProximityBFrames();
    RegisterLogicControllerFrames();
    RegisterSingleValueFrames();
    RegisterTemperatureFrames();
    RegisterTerminalFrames();
    RegisterTiltDFrames();
    RegisterTravelAFrames();
    RegisterTravelBFrames();
    RegisterTravelDFrames();
    RegisterTravelEFrames();
    RegisterTravelGFrames();
    RegisterUltrasonicFrames();

    for (int row = 0; row < DeviceCatalogueCount; ++row)
        assert(DeviceCatalogue[row].CreateFrame && DeviceCatalogue[row].DescribeAnswer);
}
