#pragma once
// A device of one catalogue row with its real frame, a grid row of plain strings and handlers
// that only count change events: enough to drive a frame's slots as the program does.
#include "frames/Registration.h"
#include "model/DeviceInfo.h"
#include "model/GridRow.h"
#include "model/Scheme.h"

#include <QWidget>
#include <memory>
#include <vector>

class FrameDevice {
public:
    explicit FrameDevice(int row, bool withGridRow = true) : catalogueRow(row), object("D", static_cast<std::uint32_t>(row), ModeEmulate)
    {
        static const bool registered = (RegisterFrameClasses(), true);
        (void)registered;
        handlers.Owner = &panel;
        handlers.Parent = &panel;
        handlers.OnChange = [this](QObject*) { changes += UpdatingControls ? 0 : 1; };
        info = std::make_unique<TDeviceInfo>(&object, &handlers, nullptr);
        if (withGridRow)
            info->GridRow = &grid;
    }

    template <class F> F& Frame() const { return *dynamic_cast<F*>(info->Frame.data()); }
    // The value columns of the grid row.
    std::vector<QString> Cells() const { return {grid.Cell(3), grid.Cell(4), grid.Cell(5), grid.Cell(6)}; }
    TMessageImage& Answer() { return object.Answer; }
    // The slots as the program calls them after an exchange, and after a control change.
    void ShowAnswer()
    {
        TUpdatingControls updating;
        info->AnswerToGrid();
        info->AnswerToFrame();
    }
    void BuildAnswer()
    {
        TUpdatingControls updating;
        info->FrameToAnswer();
        info->AnswerToGrid();
    }

    int catalogueRow;
    QWidget panel;
    TFrameHandlers handlers;
    TSchemeObject object;
    TStringsRow grid;
    int changes = 0;
    std::unique_ptr<TDeviceInfo> info;   // last: goes before the panel and the object
};
