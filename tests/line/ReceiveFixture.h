#pragma once
// The receive thread on one thread: scripted ports by name on a virtual clock, a direct
// synchronizer and a fake host. The thread's body (Execute, OpenPort, the poll step) runs on
// the test thread; OnPass and BindPort are the points where a test steers it.
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <vector>

#include "line/LineLog.h"
#include "line/ReceiveThread.h"
#include "model/Catalogue.h"
#include "model/DeviceInfo.h"
#include "model/LineMode.h"
#include "platform/Synchronizer.h"
#include "support/FakeHost.h"
#include "support/ScriptedPort.h"
#include "support/TestFrames.h"
#include "support/VirtualClock.h"

// Catalogue rows the tests use.
inline constexpr int RowPressure6 = 7;      // address 6, wire 46: request 1, answer 4
inline constexpr int RowLeveller44 = 50;    // address 44, wire AC: request 3, answer 4
inline constexpr int RowTerminal62 = 60;    // address 62, wire BE: request 16, answer 5
inline constexpr int RowAt3 = 13;           // address 3
inline constexpr int RowAt45 = 58;          // address 45, request 3

// Places run-time devices with test frames into a fake host.
struct DevicePlacer {
    explicit DevicePlacer(FakeHost& h) : host(h) {}
    ~DevicePlacer() { host.ClearDevices(); }

    TDeviceInfo& AddDevice(int row, std::uint8_t mode = ModeReceive)
    {
        const bool request = DeviceCatalogue[row].RequestLength > 1;
        bound.push_back(std::make_unique<ScopedFrameClass>(row, request ? CreateTestRequestFrame : CreateTestAnswerFrame));
        objects.push_back(std::make_unique<TSchemeObject>(QStringLiteral("Датчик"), static_cast<std::uint32_t>(row), mode));
        TFrameHandlers handlers = host.Handlers();
        auto& device = *host.devices.emplace_back(std::make_unique<TDeviceInfo>(objects.back().get(), &handlers, &host));
        host.byAddr[DeviceCatalogue[row].Address] = &device;
        gridRows.push_back(std::make_unique<TStringsRow>());
        device.GridRow = gridRows.back().get();
        return device;
    }

    FakeHost& host;
    std::vector<std::unique_ptr<TSchemeObject>> objects;
    std::vector<std::unique_ptr<TStringsRow>> gridRows;
    std::vector<std::unique_ptr<ScopedFrameClass>> bound;
};

struct ReceiveWorld {
    ReceiveWorld()
    {
        LineMode = LineModeSensors;
        PollIndex = 0;
        LineLogClear();
        thread.BindPort = [this](TMVPort& port, const QString& name) {
            port.SetName(name);
            Line(name).Bind(port);
            bindings.push_back(name);
        };
    }
    ~ReceiveWorld()
    {
        LineMode = LineModeMaster;
        PollIndex = 0;
        LineLogClear();
    }

    // The scripted line behind a port name (made on first use; it opens and echoes).
    ScriptedPort& Line(const QString& name)
    {
        auto& line = lines[name];
        if (!line)
            line = std::make_unique<ScriptedPort>(clock);
        return *line;
    }

    // The configured port, opened as the receive loop would have it.
    ScriptedPort& Connect(const QString& name = QStringLiteral("ttyUSB0"))
    {
        host.SetPortSettings({false, name, {}});
        thread.BindPort(thread.Port, name);
        thread.Port.Open();
        thread.Engine.PortOpened();
        thread.ConnectTick = clock.Now();
        return Line(name);
    }

    // The rows chosen by `calls` calls of SelectPollTarget (-1 for none).
    std::vector<int> Choices(int calls)
    {
        std::vector<int> rows;
        for (int i = 0; i < calls; ++i) {
            thread.SelectPollTarget();
            rows.push_back(thread.Engine.CurFrame ? static_cast<int>(thread.Engine.CurFrame - DeviceCatalogue) : -1);
        }
        return rows;
    }

    VirtualClock clock;
    ScopedTicks scopedTicks{clock};
    DirectSynchronizer sync;
    FakeHost host;
    DevicePlacer devices{host};
    std::map<QString, std::unique_ptr<ScriptedPort>> lines;
    std::vector<QString> bindings;
    TReceiveThread thread{host, clock, sync};
};
