#include "frames/AzimuthC.h"

#include <algorithm>

#include "frames/shared/Registration.h"

namespace {
constexpr int AzimuthCRow = 82;
constexpr Bits In1{2, 5, 2};   // 0 "Свободен", 1 "Плюс", 2 "Масса"; 3 counts as "Масса"
constexpr Bits Inputs[] = {In1};
constexpr int GroundItem = 2;

const QStringList Items = {QStringLiteral("Свободен"), QStringLiteral("Плюс"), QStringLiteral("Масса")};

// The code's own item, but code 3 shows "Масса"; only the codes 0 and 1 can be typed into the grid.
struct CodeInput {
    static QString text(const TMessageImage& answer) { return QString::number(In1.get(answer)); }
    static int item(const TMessageImage& answer, int) { return std::min(static_cast<int>(In1.get(answer)), GroundItem); }
    static void store(TMessageImage& answer, int item1, int) { In1.set(answer, InputCode(item1)); }
    static void read(TMessageImage& answer, const QString& text) { DigitColumn{Inputs, 2, 0}.read(answer, text); }
};

constexpr TAngleValueRules Rules = WholeDegreeRules<CodeInput>();
const TAngleValueLayout Layout = TemperatureRowLayout(EditSInt, 0, &Items);
}

TAzimuthCFrame::TAzimuthCFrame(QWidget* owner, TDeviceInfo* info) : TAzimuthFrame(owner, info, Layout, Rules) {}

TFrame* CreateAzimuthCFrame(QWidget* owner, TDeviceInfo* info) { return new TAzimuthCFrame(owner, info); }

QString DescribeAzimuthCAnswer(const std::uint8_t* message) { return DescribeWholeDegrees(ImageOf(message), In1); }

void RegisterAzimuthCFrames() { BindRows({AzimuthCRow}, CreateAzimuthCFrame, nullptr, DescribeAzimuthCAnswer); }
