#pragma once
// The crane logic controller: the master sends it the states of eight unwinding limiters and a
// set of locks; it answers with the states of the crane's drives and its status flags.
#include <QString>
#include <QStringList>
#include <cstdint>

#include "frames/shared/FrameBase.h"

extern const QStringList LimiterItems;   // "блокировка", "уровень 2", "уровень 1", "без ограничения"
extern const QStringList DriveItems;     // "выключен", "включен", "перегрузка"

class TLogicControllerFrame final : public TFrameBase {
public:
    TLogicControllerFrame(QWidget* owner, TDeviceInfo* info);
    const char* ClassName() const override { return "TLogicControllerFrame"; }

    // Request side.
    TLabel* Label1;   // RA
    TLabel* Label2;   // LA
    TLabel* Label3;   // LB
    TLabel* Label4;   // RB
    TLabel* Label5;   // LC
    TLabel* Label6;   // RC
    TLabel* Label7;   // RD
    TLabel* Label8;   // LD
    TComboBox* raBox;
    TComboBox* rbBox;
    TComboBox* rcBox;
    TComboBox* rdBox;
    TComboBox* laBox;
    TComboBox* lbBox;
    TComboBox* lcBox;
    TComboBox* ldBox;
    TLabel* Label15;
    TLabel* Label17;
    TComboBox* stModeBox;
    TLabel* Label19;
    TCheckBox* kvgCheck;
    TCheckBox* gpsCheck;
    TCheckBox* vpsCheck;
    TCheckBox* stsCheck;
    TLabel* Label20;
    TComboBox* craneTypeBox;

    // Answer side.
    TLabel* Label12;   // GP
    TLabel* Label11;   // VP
    TLabel* Label10;   // ST
    TLabel* Label9;    // POV
    TLabel* Label14;   // LG
    TLabel* Label13;   // PG
    TComboBox* gpBox;
    TComboBox* vpBox;
    TComboBox* stBox;
    TComboBox* povBox;
    TComboBox* lgBox;
    TComboBox* pgBox;
    TCheckBox* gpKanCheck;
    TCheckBox* vpKanCheck;
    TCheckBox* stKanCheck;
    TCheckBox* pLowCheck;
    TLabel* Label16;
    TComboBox* workModeBox;
    TLabel* Label18;
    TComboBox* joystickModeBox;
    TCheckBox* nftCrash2Check;
    TCheckBox* nftCrash1Check;
    TCheckBox* motoHoursDisableCheckBox;
    TCheckBox* groundDisableCheckBox;
    TBevel* Bevel1;
    TBevel* Bevel2;
    TBevel* Bevel3;
    TBevel* Bevel4;

    // The grid shows nothing of the request and takes no typed values.
    void GridToRequest(const QString& text, int column);
    void GridToAnswer(const QString& text, int column);
    void FrameToRequest();
    void RequestToFrame();
    void RequestToGrid();
    void FrameToAnswer();
    void AnswerToFrame();
    void AnswerToGrid();
};

TFrame* CreateLogicControllerFrame(QWidget* owner, TDeviceInfo* info);
QString DescribeLogicControllerAnswer(const std::uint8_t* message);

// Binds the controller's factory and answer decoder into its catalogue row (its request has
// no decoder).
void RegisterLogicControllerFrames();
