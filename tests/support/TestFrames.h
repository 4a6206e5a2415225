#pragma once
// Frames for tests, answer-only and request-and-answer: their slots log each call (with whether
// UpdatingControls was set) and move byte 1 between the image, an edit and a grid cell.
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "frames/shared/FrameBase.h"

struct TSlotCall {
    std::string slot;
    bool updating;
};
extern std::vector<TSlotCall> SlotLog;

class TTestAnswerFrame : public TFrameBase {
    Q_OBJECT
public:
    // A request frame builds the request side and fills the slots itself.
    TTestAnswerFrame(QWidget* owner, TDeviceInfo* info, bool hasRequest = false);

    TEdit* ValueEdit;   // answer byte 1; the grid's column 3
    TUpDown* ValueUpDown;
    TEdit* SIntEdit;
    TEdit* UFloatEdit;
    TEdit* SFloatEdit;
    TEdit* OddEdit;
    TLabel* NextLabel;
    TUpDown* LabelUpDown;
    TCheckBox* FlagBox;
    TComboBox* StateCombo;
    TEdit* NestedEdit;

protected:
    // The slots of one side, each logged under its name: byte 1 of the side's image to and
    // from the edit and the grid column.
    void FillSide(TDeviceSlots& s, bool request, TEdit* edit);
};

class TTestRequestFrame : public TTestAnswerFrame {
    Q_OBJECT
public:
    TTestRequestFrame(QWidget* owner, TDeviceInfo* info);

    TEdit* OutEdit;   // request byte 1; the grid's column 2
    TUpDown* OutUpDown;
    TCheckBox* OutBox;
};

inline TFrame* CreateTestAnswerFrame(QWidget* owner, TDeviceInfo* info) { return new TTestAnswerFrame(owner, info); }
inline TFrame* CreateTestRequestFrame(QWidget* owner, TDeviceInfo* info) { return new TTestRequestFrame(owner, info); }

// Binds a catalogue row to a test frame for a scope and restores its binding afterwards.
class ScopedFrameClass {
public:
    ScopedFrameClass(int row, TCreateFrame create) : row_(row), saved_(DeviceCatalogue[row])
    {
        BindFrameClass(row, create, saved_.DescribeRequest, saved_.DescribeAnswer);
    }
    ~ScopedFrameClass() { BindFrameClass(row_, saved_.CreateFrame, saved_.DescribeRequest, saved_.DescribeAnswer); }
    ScopedFrameClass(const ScopedFrameClass&) = delete;
    ScopedFrameClass& operator=(const ScopedFrameClass&) = delete;

private:
    int row_;
    TFrameInfo saved_;
};

// Test answer frames bound to the rows, each row's own frame class put back when its binding goes.
std::vector<std::unique_ptr<ScopedFrameClass>> BindTestAnswerFrames(std::initializer_list<int> rows);
