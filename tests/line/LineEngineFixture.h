#pragma once
// The line engine on one thread: a scripted port on a virtual clock, a direct synchronizer and
// a fake host, with helpers to place devices, build messages and read back what was handed off
// (through the line log, which records every hand-off while recording is on).
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "line/LineEngine.h"
#include "line/LineLog.h"
#include "line/Protocol.h"
#include "model/Catalogue.h"
#include "model/DeviceInfo.h"
#include "model/LineMode.h"
#include "platform/Synchronizer.h"
#include "support/FakeHost.h"
#include "support/ScriptedPort.h"
#include "support/TestFrames.h"
#include "support/VirtualClock.h"

// Catalogue rows the tests use (address: rows, request/answer lengths).
inline constexpr int RowPressure6 = 7;     // address 6 (wire 46): rows 7, 21, 78, all 1/4
inline constexpr int RowTension6 = 21;
inline constexpr int RowLeveller44 = 50;   // address 44 (wire AC): the only row, 3/4
inline constexpr int RowGear50 = 1;        // address 50 (wire 72): row 1 is 1/7, row 4 is 1/6
inline constexpr int RowIoBlock50 = 4;
inline constexpr int RowLineProx5 = 15;    // address 5 (wire 05 = the plain address): 1/4
inline constexpr int RowTerminal62 = 60;   // address 62 (wire BE): 16/5

// A message of a row: its address byte (wire for a request, plain for an answer), the body and
// the check byte (none for a one-byte request).
inline std::vector<std::uint8_t> Request(int row, std::vector<std::uint8_t> body = {})
{
    std::vector<std::uint8_t> m{DeviceCatalogue[row].WireAddress};
    m.insert(m.end(), body.begin(), body.end());
    if (DeviceCatalogue[row].RequestLength > 1)
        m.push_back(CheckByteOf(m.data(), static_cast<int>(m.size())));
    return m;
}

inline std::vector<std::uint8_t> Answer(int row, std::vector<std::uint8_t> body)
{
    std::vector<std::uint8_t> m{DeviceCatalogue[row].Address};
    m.insert(m.end(), body.begin(), body.end());
    m.push_back(CheckByteOf(m.data(), static_cast<int>(m.size())));
    return m;
}

inline std::vector<std::uint8_t> Join(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// One line-log record as text: "r<row> <code> <request> | <answer>", "r- ..." without a row.
inline std::string RecordText(const TLineRecord& record)
{
    const std::string row = record.FrameInfo ? std::to_string(record.FrameInfo - DeviceCatalogue) : "-";
    return "r" + row + " " + std::to_string(record.Result) + " " + record.RequestText.toStdString() + " | " +
           record.AnswerText.toStdString();
}

inline std::vector<std::string> LogTexts()
{
    std::vector<std::string> texts;
    for (int i = 0; i < LineLogCount; ++i)
        texts.push_back(RecordText(LineLogRecord(i)));
    return texts;
}

// One scheme, one line and one engine. Tests that compare two runs make two worlds in turn.
struct LineWorld {
    LineWorld()
    {
        line.Bind(engine.Port);
        engine.Port.Open();
        engine.PortOpened();
        host.lineLogOn = true;
        LineMode = LineModeMaster;
        LineLogClear();
        SlotLog.clear();
    }
    ~LineWorld()
    {
        host.ClearDevices();
        LineMode = LineModeMaster;
        LineLogClear();
    }

    // Puts a device of a catalogue row at its address: a request frame for a row whose request
    // has a body, else an answer-only frame.
    TDeviceInfo& AddDevice(int row, std::uint8_t mode, bool withGridRow = true)
    {
        const bool request = DeviceCatalogue[row].RequestLength > 1;
        bound.push_back(std::make_unique<ScopedFrameClass>(row, request ? CreateTestRequestFrame : CreateTestAnswerFrame));
        objects.push_back(std::make_unique<TSchemeObject>(QStringLiteral("Датчик"), static_cast<std::uint32_t>(row), mode));
        TFrameHandlers handlers = host.Handlers();
        auto& device = *host.devices.emplace_back(std::make_unique<TDeviceInfo>(objects.back().get(), &handlers, &host));
        host.byAddr[DeviceCatalogue[row].Address] = &device;
        if (withGridRow) {
            gridRows.push_back(std::make_unique<TStringsRow>());
            device.GridRow = gridRows.back().get();
        }
        return device;
    }

    // Framing passes until nothing is left to hear and RxBytes is empty.
    void RunUntilQuiet(int maxPasses = 10000)
    {
        for (int i = 0; i < maxPasses; ++i) {
            if (line.Timeline().empty() && engine.RxBytes.Count == 0)
                return;
            engine.FramingPass();
        }
        ADD_FAILURE() << "the framing did not settle";
    }

    std::vector<ScriptedPort::Call> Writes() const { return line.CallsOf(ScriptedPort::Op::Write); }

    std::vector<std::unique_ptr<TSchemeObject>> objects;
    std::vector<std::unique_ptr<TStringsRow>> gridRows;
    std::vector<std::unique_ptr<ScopedFrameClass>> bound;
    VirtualClock clock;
    ScopedTicks scopedTicks{clock};
    ScriptedPort line{clock};
    DirectSynchronizer sync;
    FakeHost host;
    TLineEngine engine{host, clock, sync};
};

class LineEngineTest : public ::testing::Test, public LineWorld {};
