// Commands of the window whose behaviour comes with later parts of the program: each is wired to
// its menu item, control or start-up step already and routes here, one line each.
#include "ui/Main.h"
#include "ui/NotBuilt.h"

void TMirvane2Form::LoadSettings() { NotBuilt("LoadSettings"); }
void TMirvane2Form::SaveSettings() { NotBuilt("SaveSettings"); }
void TMirvane2Form::AskSaveChanges() { NotBuilt("AskSaveChanges"); }
void TMirvane2Form::SaveStateFile() { NotBuilt("SaveStateFile"); }
void TMirvane2Form::ApplyCellText(int, int, const QString&) { NotBuilt("ApplyCellText"); }
void TMirvane2Form::WMTimerBody(TDeviceInfo* device) { NotBuilt("WMTimer", device); }
void TMirvane2Form::ShowNewDevices() { NotBuilt("ShowNewDevices"); }
void TMirvane2Form::RebuildPortMenus() { NotBuilt("RebuildPortMenus"); }
void TMirvane2Form::ShowLineRecordInfo() { NotBuilt("ShowLineRecordInfo"); }
void TMirvane2Form::FCreateFileItemClick() { NotBuilt("FCreateFileItemClick"); }
void TMirvane2Form::FOpenFileItemClick() { NotBuilt("FOpenFileItemClick"); }
void TMirvane2Form::FSaveFileItemClick() { NotBuilt("FSaveFileItemClick"); }
void TMirvane2Form::FSaveAsFileItemClick() { NotBuilt("FSaveAsFileItemClick"); }
void TMirvane2Form::FLastFileItemClick(QObject* Sender) { NotBuilt("FLastFileItemClick", Sender); }
void TMirvane2Form::VRestoreColWidthsItemClick() { NotBuilt("VRestoreColWidthsItemClick"); }
void TMirvane2Form::BIModeItemClick(QObject* Sender) { NotBuilt("BIModeItemClick", Sender); }
void TMirvane2Form::LPortOpenItemClick() { NotBuilt("LPortOpenItemClick"); }
void TMirvane2Form::LPortAutoDetectItemClick() { NotBuilt("LPortAutoDetectItemClick"); }
void TMirvane2Form::LPortCOMItemClick(QObject* Sender) { NotBuilt("LPortCOMItemClick", Sender); }
void TMirvane2Form::LPriorityItemClick(QObject* Sender) { NotBuilt("LPriorityItemClick", Sender); }
void TMirvane2Form::SCreateSchemeItemClick() { NotBuilt("SCreateSchemeItemClick"); }
void TMirvane2Form::SRenameSchemeItemClick() { NotBuilt("SRenameSchemeItemClick"); }
void TMirvane2Form::SDeleteSchemeItemClick() { NotBuilt("SDeleteSchemeItemClick"); }
void TMirvane2Form::SClearSchemeItemClick() { NotBuilt("SClearSchemeItemClick"); }
void TMirvane2Form::DAddDeviceItemClick() { NotBuilt("DAddDeviceItemClick"); }
void TMirvane2Form::DDeleteDeviceItemClick() { NotBuilt("DDeleteDeviceItemClick"); }
void TMirvane2Form::DFindDeviceItemClick() { NotBuilt("DFindDeviceItemClick"); }
void TMirvane2Form::ModeItemClick(QObject* Sender) { NotBuilt("ModeItemClick", Sender); }
void TMirvane2Form::DeviceStaticPopupItemClick() { NotBuilt("DeviceStaticPopupItemClick"); }
void TMirvane2Form::CurrSchemeComboBoxSelect(QObject* Sender) { NotBuilt("CurrSchemeComboBoxSelect", Sender); }
void TMirvane2Form::CurrSchemeComboBoxKeyDown(QObject* Sender, int&, TShiftState) { NotBuilt("CurrSchemeComboBoxKeyDown", Sender); }
void TMirvane2Form::FormKeyDown(QObject* Sender, int&, TShiftState) { NotBuilt("FormKeyDown", Sender); }
void TMirvane2Form::GridHeaderSectionResize(int, int) { NotBuilt("GridHeaderSectionResize"); }
void TMirvane2Form::DeviceMoveButtonClick(QObject* Sender) { NotBuilt("DeviceMoveButtonClick", Sender); }
void TMirvane2Form::CommentMemoChange(QObject* Sender) { NotBuilt("CommentMemoChange", Sender); }
void TMirvane2Form::LineDataButtonClick(QObject* Sender) { NotBuilt("LineDataButtonClick", Sender); }
void TMirvane2Form::FindErrorsButtonClick(QObject* Sender) { NotBuilt("FindErrorsButtonClick", Sender); }
void TMirvane2Form::FrameChange(QObject* Sender) { NotBuilt("FrameChange", Sender); }
void TMirvane2Form::FrameSIntEditKeyPress(QObject* Sender, QChar&) { NotBuilt("FrameSIntEditKeyPress", Sender); }
void TMirvane2Form::FrameUIntEditKeyPress(QObject* Sender, QChar&) { NotBuilt("FrameUIntEditKeyPress", Sender); }
void TMirvane2Form::FrameSFloatEditKeyPress(QObject* Sender, QChar&) { NotBuilt("FrameSFloatEditKeyPress", Sender); }
void TMirvane2Form::FrameUFloatEditKeyPress(QObject* Sender, QChar&) { NotBuilt("FrameUFloatEditKeyPress", Sender); }
void TMirvane2Form::FrameSIntEditKeyDown(QObject* Sender, int&, TShiftState) { NotBuilt("FrameSIntEditKeyDown", Sender); }
void TMirvane2Form::FrameUIntEditKeyDown(QObject* Sender, int&, TShiftState) { NotBuilt("FrameUIntEditKeyDown", Sender); }
void TMirvane2Form::FrameSFloatEditKeyDown(QObject* Sender, int&, TShiftState) { NotBuilt("FrameSFloatEditKeyDown", Sender); }
void TMirvane2Form::FrameUFloatEditKeyDown(QObject* Sender, int&, TShiftState) { NotBuilt("FrameUFloatEditKeyDown", Sender); }
void TMirvane2Form::FrameUpDownChangingEx(QObject* Sender, bool&, int, TUpDownDirection) { NotBuilt("FrameUpDownChangingEx", Sender); }

// The close completes from here once the scheme walk has ended; the rest comes with the schemes.
void TMirvane2Form::OpenSchemeThreadTerminate()
{
    OpenSchemeThread = nullptr;
    NotBuilt("OpenSchemeThreadTerminate");
    if (Closing)
        close();
}
