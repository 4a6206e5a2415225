#pragma once
// A main window holding one scheme whose devices use the test frames, so that grid, frame and
// line-monitor tests see every slot call.
#include <QTableWidget>
#include <memory>
#include <vector>

#include "MainWindowFixture.h"
#include "model/LineMode.h"
#include "support/TestFrames.h"
#include "ui/Ask.h"
#include "ui/SchemeGrid.h"

class SchemeTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        PortOpen = false;
        LineMode = LineModeMaster;
        SetMessageBoxHook([](const QString&, const QString&, TButtons, TBoxIcon) { return TAnswer::No; });
        // Two catalogue rows at different addresses, with the test frames.
        rows = {0, -1};
        for (int r = 1; r < DeviceCatalogueCount && rows[1] < 0; ++r)
            if (DeviceCatalogue[r].Address != DeviceCatalogue[0].Address)
                rows[1] = r;
        for (int r : rows)
            saved.push_back(DeviceCatalogue[r]);
        answerFrame = std::make_unique<ScopedFrameClass>(rows[0], CreateTestAnswerFrame);
        requestFrame = std::make_unique<ScopedFrameClass>(rows[1], CreateTestRequestFrame);
        Make();
        form->Schemes.push_back(std::make_unique<TDeviceScheme>(QStringLiteral("Схема 1")));
        CurrentScheme = form->Schemes.back().get();
        SlotLog.clear();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        CurrentScheme = nullptr;
        ConstructorMode = 0;
        LineMode = LineModeMaster;
        requestFrame.reset();
        answerFrame.reset();
        for (std::size_t i = 0; i < rows.size(); ++i)
            DeviceCatalogue[rows[i]] = saved[i];
        SetMessageBoxHook({});
    }
    // Appends a device of catalogue row `row` to the scheme and the form; the grid is rebuilt.
    TDeviceInfo* AddDevice(int row, std::uint8_t mode, const QString& name = QStringLiteral("Датчик"))
    {
        auto& objects = CurrentScheme->Objects;
        objects.push_back(std::make_unique<TSchemeObject>(name, std::uint32_t(row), mode));
        auto device = std::make_unique<TDeviceInfo>(objects.back().get(), &FrameHandlers, form.get());
        TDeviceInfo* added = device.get();
        form->DevicesByAddr()[added->FrameInfo->Address] = added;
        form->Devices().push_back(std::move(device));
        form->RebuildSchemeGrid();
        SlotLog.clear();
        return added;
    }
    QString Cell(int row, int column) const
    {
        const QTableWidgetItem* item = form->SchemeGrid->item(row, column);
        return item ? item->text() : QString();
    }
    bool Logged(const char* slot, bool updating) const
    {
        for (const TSlotCall& c : SlotLog)
            if (c.slot == slot && c.updating == updating)
                return true;
        return false;
    }

    std::vector<int> rows;
    std::vector<TFrameInfo> saved;
    std::unique_ptr<ScopedFrameClass> answerFrame, requestFrame;
};
