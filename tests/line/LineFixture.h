#pragma once
// The line engine and the receive thread on one thread: scripted ports on a virtual clock, a
// direct synchronizer and a fake host; hand-offs are read back through the line log.
#include <gtest/gtest.h>
#include <map>

#include "line/LineLog.h"
#include "line/ReceiveThread.h"
#include "model/DeviceInfo.h"
#include "model/LineMode.h"
#include "support/FakeHost.h"
#include "support/ScriptedPort.h"
#include "support/TestFrames.h"

using Texts = std::vector<std::string>;

// Catalogue rows the tests use (address: rows, request/answer lengths).
inline constexpr int RowPressure6 = 7;   // address 6 (wire 46): rows 7, 21, 78, all 1/4
inline constexpr int RowTension6 = 21;
inline constexpr int RowLeveller44 = 50;   // address 44 (wire AC): the only row, 3/4
inline constexpr int RowIoBlock50 = 4;     // address 50 (wire 72): row 1 is 1/7, row 4 is 1/6
inline constexpr int RowLineProx5 = 15;    // address 5 (wire 05 = the plain address): 1/4
inline constexpr int RowTerminal62 = 60;   // address 62 (wire BE): 16/5
inline constexpr int RowAt3 = 13;          // address 3 (wire 43): row 13 is 1/6, row 27 is 1/4
inline constexpr int RowTilt3 = 27;
inline constexpr int RowAt45 = 58;
inline constexpr int RowTilt5 = 83;   // address 49 (wire 31 = the plain address): the only row, 1/5

// The line log as texts: "r<row> <code> <request> | <answer>", "r- ..." without a row.
inline Texts LogTexts()
{
    Texts texts;
    for (int i = 0; i < LineLogCount; ++i) {
        const TLineRecord& r = LineLogRecord(i);
        const std::string row = r.FrameInfo ? std::to_string(r.FrameInfo - DeviceCatalogue) : "-";
        texts.push_back("r" + row + " " + std::to_string(r.Result) + " " + r.RequestText.toStdString() + " | " +
                        r.AnswerText.toStdString());
    }
    return texts;
}

// Places run-time devices with test frames (request frames where the request has a body).
struct DevicePlacer {
    explicit DevicePlacer(FakeHost& h) : host(h) {}
    ~DevicePlacer() { host.ClearDevices(); }

    TDeviceInfo& AddDevice(int row, std::uint8_t mode = ModeReceive)
    {
        const bool request = DeviceCatalogue[row].RequestLength > 1;
        bound.push_back(std::make_unique<ScopedFrameClass>(row, request ? CreateTestRequestFrame
                                                                        : CreateTestAnswerFrame));
        return AddDeviceWithItsFrame(row, mode);
    }
    // The same with the row's own frame.
    TDeviceInfo& AddDeviceWithItsFrame(int row, std::uint8_t mode = ModeReceive)
    {
        objects.push_back(std::make_unique<TSchemeObject>("Датчик", static_cast<std::uint32_t>(row), mode));
        TFrameHandlers handlers = host.Handlers();
        auto& device = *host.devices.emplace_back(
            std::make_unique<TDeviceInfo>(objects.back().get(), &handlers, &host));
        host.byAddr[DeviceCatalogue[row].Address] = &device;
        device.GridRow = gridRows.emplace_back(std::make_unique<TStringsRow>()).get();
        return device;
    }

    FakeHost& host;
    std::vector<std::unique_ptr<TSchemeObject>> objects;
    std::vector<std::unique_ptr<TStringsRow>> gridRows;
    std::vector<std::unique_ptr<ScopedFrameClass>> bound;
};

// Global line state every world starts from and leaves behind.
struct LineGlobals {
    explicit LineGlobals(int mode) { Reset(mode); }
    ~LineGlobals() { Reset(LineModeMaster); }
    static void Reset(int mode)
    {
        LineMode = mode;
        LineLogClear();
        SlotLog.clear();
    }
};

// What every world holds: the line mode, a virtual clock as the program's ticks, a synchronizer
// that runs each step at once (costing stepMs on the clock) and a fake host with the devices
// placed on it.
struct WorldBase {
    explicit WorldBase(int mode) : globals(mode) {}
    LineGlobals globals;
    VirtualClock clock;
    ScopedTicks scopedTicks{clock};
    std::uint32_t stepMs = 0;
    SlowSynchronizer sync{clock, [this] { return stepMs; }};
    FakeHost host;
    DevicePlacer devices{host};
};

// One scheme, one line and one engine (on `gate` when given, else on the direct synchronizer).
// Tests that compare two runs make two worlds in turn.
struct LineWorld : WorldBase {
    explicit LineWorld(ISynchronizer* gate = nullptr) : WorldBase(LineModeMaster), engine(host, clock, gate ? *gate : sync)
    {
        line.Bind(engine.Port);
        engine.Port.Open();
        engine.PortOpened();
        host.lineLogOn = true;
    }
    TDeviceInfo& AddDevice(int row, std::uint8_t mode) { return devices.AddDevice(row, mode); }
    TDeviceInfo& AddDeviceWithItsFrame(int row, std::uint8_t mode) { return devices.AddDeviceWithItsFrame(row, mode); }
    // Framing passes until nothing is left to hear and RxBytes is empty.
    void RunUntilQuiet()
    {
        for (int i = 0; i < 10000; ++i) {
            if (line.Timeline().empty() && engine.RxBytes.Count == 0)
                return;
            engine.FramingPass();
        }
        ADD_FAILURE() << "the framing did not settle";
    }
    std::vector<ScriptedPort::Call> Writes() const { return line.CallsOf(ScriptedPort::Op::Write); }

    ScriptedPort line{clock};
    TLineEngine engine;
};

class LineEngineTest : public ::testing::Test, public LineWorld {};

// The receive thread's body on the test thread, steered through OnPass and BindPort. Each port
// name has its own scripted line (made on first use; it opens and echoes).
struct ReceiveWorld : WorldBase {
    ReceiveWorld() : WorldBase(LineModeSensors)
    {
        thread.BindPort = [this](TMVPort& port, const QString& name) {
            port.SetName(name);
            Line(name).Bind(port);
            bindings.push_back(name);
        };
    }
    ScriptedPort& Line(const QString& name)
    {
        auto& line = lines[name];
        return line ? *line : *(line = std::make_unique<ScriptedPort>(clock));
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

    std::map<QString, std::unique_ptr<ScriptedPort>> lines;
    std::vector<QString> bindings;
    TReceiveThread thread{host, clock, sync};
};
