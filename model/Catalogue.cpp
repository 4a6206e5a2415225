#include "model/Catalogue.h"

#include <cassert>

namespace {
// Descriptive texts of the catalogue list; several rows share one.
constexpr const char* NoText = "Нет описания.";
constexpr const char* LevellerText =
    "Блок управления клапанами горизонтирования крана. По командам БИ включает "
    "гидрораспределители выносных опор и сообщает их состояние.";
constexpr const char* IoBlockText =
    "Блок коммутации нагрузок и обработки входных сигналов. Включает исполнительные "
    "устройства по командам БИ и передаёт состояние дискретных входов.";
constexpr const char* PressureText =
    "Датчик абсолютного давления рабочей жидкости в гидросистеме. Диапазон измерения 0–250 атм.";
constexpr const char* BoomLengthText =
    "Датчик длины выдвижения телескопической стрелы. Диапазон измерения 0–15 м.";
constexpr const char* LineProxText =
    "Датчик приближения к линии электропередачи. Измеряет напряжённость электрического поля "
    "воздушной ЛЭП частотой 50 Гц.";
constexpr const char* LineProxOutputsText =
    "Датчик приближения к линии электропередачи. Измеряет напряжённость электрического поля "
    "воздушной ЛЭП частотой 50 Гц; содержит встроенный датчик угла наклона и два силовых выхода.";
constexpr const char* Tension500Text = "Датчик усилия растяжения. Диапазон измерения 0–500 кг.";
constexpr const char* Tension1000Text = "Датчик усилия растяжения. Диапазон измерения 0–1000 кг.";
constexpr const char* CompressionText = "Датчик усилия сжатия. Диапазон измерения 0–5000 кг.";
constexpr const char* WindText =
    "Датчик скорости ветра. Измеряет скорость ветра и выявляет опасные порывы.";
constexpr const char* SlewGearText =
    "Датчик азимута. Измеряет угол поворота платформы крана, снимаемый через зубчатое колесо.";
constexpr const char* FullTurnAzimuthText =
    "Датчик азимута полного оборота. Допускает установку в одном из двух мест крепления.";
constexpr const char* TiltVerticalText =
    "Датчик угла наклона стрелы. Измеряет угол наклона относительно вертикали силы тяжести.";
constexpr const char* TiltTwoAxisText =
    "Датчик угла наклона с двухосевым чувствительным элементом.";
constexpr const char* JoystickText =
    "Аппарат управления. Передаёт пропорциональные сигналы управления рукоятки и состояние "
    "трёх кнопок.";

// One row without its functions, which the frames bind at start-up.
constexpr TFrameInfo Row(const char* model, const char* description, std::uint8_t address,
                         std::uint8_t wire, std::uint8_t rq, std::uint8_t an, std::uint8_t c2,
                         std::uint8_t c5, std::uint8_t c6, double step1, double step2,
                         const char* longDescription)
{
    return TFrameInfo{model, description, nullptr, nullptr, nullptr, address, wire, rq, an,
                      c2, c5, c6, 0, 0, step1, step2, 0, longDescription};
}
}

TFrameInfo DeviceCatalogue[DeviceCatalogueCount] = {
    /*  0 */ Row("Engine-1", "Блок для двигателя", 52, 0x34, 3, 9, 2, 2, 8, 1, 1, NoText),
    /*  1 */ Row("Gear-1", "Блок для трансмиссии", 50, 0x72, 1, 7, 0, 0, 0, 1, 0.01, NoText),
    /*  2 */ Row("Gear-1", "Блок для трансмиссии", 51, 0xF3, 3, 9, 2, 0, 8, 1, 0.01, NoText),
    /*  3 */ Row("Leveller-1", "Блок управления горизонтированием", 39, 0xA7, 6, 6, 0, 0, 0, 0.01, 0.01, LevellerText),
    /*  4 */ Row("IoBlock-1/2", "Блок входов и нагрузок", 50, 0x72, 1, 6, 0, 3, 0, 0, 0, IoBlockText),
    /*  5 */ Row("IoBlock-1", "Блок входов и нагрузок", 51, 0xF3, 3, 8, 2, 0, 8, 1, 1, IoBlockText),
    /*  6 */ Row("IoBlock-4", "Блок входов и нагрузок", 53, 0xB5, 4, 6, 2, 2, 2, 0, 0, NoText),
    /*  7 */ Row("Pressure-1", "Датчик давления", 6, 0x46, 1, 4, 0, 0, 0, 0.02, 0, PressureText),
    /*  8 */ Row("Pressure-1", "Датчик давления", 7, 0xC7, 1, 4, 0, 0, 0, 0.02, 0, PressureText),
    /*  9 */ Row("Pressure-1", "Датчик давления", 24, 0x98, 1, 4, 0, 0, 0, 0.02, 0, PressureText),
    /* 10 */ Row("Pressure-2", "Датчик давления", 21, 0xD5, 1, 4, 0, 0, 0, 0.02, 0, PressureText),
    /* 11 */ Row("Pressure-2", "Датчик давления", 22, 0x96, 1, 4, 0, 0, 0, 0.02, 0, PressureText),
    /* 12 */ Row("Pressure-2", "Датчик давления", 23, 0x17, 1, 4, 0, 0, 0, 0.02, 0, PressureText),
    /* 13 */ Row("BoomLength-1", "Датчик длины стрелы", 3, 0x43, 1, 6, 0, 2, 0, 0.01, 0.01, BoomLengthText),
    /* 14 */ Row("BoomLength-2", "Датчик длины и угла наклона", 13, 0x4D, 1, 6, 0, 3, 0, 0.01, 0.01, NoText),
    /* 15 */ Row("LineProx-1", "Датчик приближения к ЛЭП", 5, 0x05, 1, 4, 0, 3, 0, 1, 0, LineProxText),
    /* 16 */ Row("LineProx-2", "Датчик приближения к ЛЭП", 40, 0x28, 3, 6, 2, 3, 0, 1, 0.01, LineProxOutputsText),
    /* 17 */ Row("Travel-3", "Датчик перемещения", 25, 0x19, 1, 4, 0, 0, 0, 1, 0, NoText),
    /* 18 */ Row("Travel-3", "Датчик перемещения", 26, 0x5A, 1, 4, 0, 0, 0, 1, 0, NoText),
    /* 19 */ Row("Travel-3", "Датчик перемещения", 27, 0xDB, 1, 4, 0, 0, 0, 1, 0, NoText),
    /* 20 */ Row("Travel-3", "Датчик перемещения", 28, 0x1C, 1, 4, 0, 0, 0, 1, 0, NoText),
    /* 21 */ Row("Tension-1", "Датчик усилия растяжения", 6, 0x46, 1, 4, 0, 0, 0, 0.01, 0, Tension500Text),
    /* 22 */ Row("Tension-2", "Датчик усилия растяжения", 32, 0x60, 1, 4, 0, 3, 0, 1, 0, Tension1000Text),
    /* 23 */ Row("Compression-1", "Датчик усилия сжатия", 4, 0x84, 1, 4, 0, 2, 0, 1, 0, CompressionText),
    /* 24 */ Row("Wind-1", "Датчик скорости ветра", 15, 0x8F, 1, 4, 0, 3, 0, 0.1, 0, WindText),
    /* 25 */ Row("Azimuth-1", "Датчик азимута", 4, 0x84, 1, 7, 0, 2, 0, 1, 1, SlewGearText),
    /* 26 */ Row("Azimuth-2", "Датчик азимута", 14, 0x0E, 1, 4, 0, 3, 0, 0.3, 4, FullTurnAzimuthText),
    /* 27 */ Row("Tilt-1", "Датчик угла наклона стрелы", 3, 0x43, 1, 4, 0, 2, 0, 0.01, 0, TiltVerticalText),
    /* 28 */ Row("Tilt-2", "Датчик продольного угла наклона", 1, 0x81, 1, 4, 0, 0, 0, 0.01, 0, TiltTwoAxisText),
    /* 29 */ Row("Tilt-2", "Датчик поперечного угла наклона", 2, 0xC2, 1, 4, 0, 2, 0, 0.01, 0, TiltTwoAxisText),
    /* 30 */ Row("Joystick-1", "Аппарат управления", 59, 0xBB, 4, 3, 2, 2, 2, 0, 0, JoystickText),
    /* 31 */ Row("Joystick-1", "Аппарат управления", 60, 0x7C, 4, 3, 2, 2, 2, 0, 0, JoystickText),
    /* 32 */ Row("Travel-1", "Датчик перемещения", 12, 0xCC, 1, 5, 0, 3, 0, 1, 4, NoText),
    /* 33 */ Row("Pressure-3", "Датчик давления", 19, 0x93, 1, 4, 0, 3, 0, 0.02, 0, PressureText),
    /* 34 */ Row("Pressure-4", "Датчик давления", 20, 0x54, 1, 4, 0, 3, 0, 0.02, 0, PressureText),
    /* 35 */ Row("Travel-2", "Датчик перемещения", 16, 0xD0, 1, 5, 0, 3, 0, 1, 0, NoText),
    /* 36 */ Row("Tilt-3", "Датчик продольного угла наклона", 17, 0x51, 1, 4, 0, 0, 0, 0.01, 0, TiltTwoAxisText),
    /* 37 */ Row("Tilt-3", "Датчик поперечного угла наклона", 18, 0x12, 1, 4, 0, 2, 0, 0.01, 0, TiltTwoAxisText),
    /* 38 */ Row("Leveller-1", "Блок управления горизонтированием", 38, 0x26, 3, 4, 2, 0, 2, 0.06, 0, LevellerText),
    /* 39 */ Row("BoomLength-3", "Датчик перемещения", 29, 0x9D, 1, 6, 0, 3, 0, 0.01, 1, NoText),
    /* 40 */ Row("Travel-6", "Датчик перемещения", 11, 0x0B, 1, 4, 0, 3, 0, 1, 0, NoText),
    /* 41 */ Row("IoBlock-2", "Блок входов и нагрузок", 53, 0xB5, 4, 4, 2, 0, 8, 0, 0, NoText),
    /* 42 */ Row("IoBlock-2", "Блок входов и нагрузок", 54, 0xF6, 3, 6, 2, 3, 0, 1, 1, NoText),
    /* 43 */ Row("LineProx-3", "Датчик приближения к ЛЭП", 41, 0xA9, 1, 4, 0, 3, 0, 1, 0, LineProxText),
    /* 44 */ Row("LineProx-3", "Датчик приближения к ЛЭП", 42, 0xEA, 1, 4, 0, 3, 0, 1, 0, LineProxText),
    /* 45 */ Row("LineProx-3", "Датчик приближения к ЛЭП", 43, 0x6B, 1, 4, 0, 3, 0, 1, 0, LineProxText),
    /* 46 */ Row("Tension-3", "Датчик усилия растяжения", 32, 0x60, 1, 4, 0, 0, 0, 1, 0, Tension1000Text),
    /* 47 */ Row("Tension-3", "Датчик усилия растяжения", 33, 0xE1, 1, 4, 0, 0, 0, 1, 0, Tension1000Text),
    /* 48 */ Row("Tension-3", "Датчик усилия растяжения", 34, 0xA2, 1, 4, 0, 0, 0, 1, 0, Tension1000Text),
    /* 49 */ Row("Fuel-1", "Датчик уровня топлива", 10, 0x8A, 1, 4, 0, 0, 0, 0.01, 0.01, NoText),
    /* 50 */ Row("Leveller-2", "Блок управления горизонтированием", 44, 0xAC, 3, 4, 2, 0, 2, 0.06, 0, NoText),
    /* 51 */ Row("IoBlock-5", "Блок входов и нагрузок", 35, 0x23, 4, 3, 2, 2, 0, 0, 0, NoText),
    /* 52 */ Row("BoomLength-4", "Датчик перемещения", 30, 0xDE, 1, 6, 0, 3, 0, 0.01, 1, NoText),
    /* 53 */ Row("Clock-1", "Датчик времени", 31, 0x5F, 1, 8, 0, 0, 0, 1, 1, NoText),
    /* 54 */ Row("Joystick-2", "Аппарат управления", 55, 0x77, 1, 5, 0, 2, 2, 1, 1, NoText),
    /* 55 */ Row("Joystick-2", "Аппарат управления", 56, 0xF8, 1, 5, 0, 2, 2, 1, 1, NoText),
    /* 56 */ Row("Joystick-2", "Аппарат управления", 57, 0x79, 1, 5, 0, 2, 2, 1, 1, NoText),
    /* 57 */ Row("Joystick-2", "Аппарат управления", 58, 0x3A, 1, 5, 0, 2, 2, 1, 1, NoText),
    /* 58 */ Row("Indicator-1", "Указатель", 45, 0x2D, 3, 3, 2, 0, 2, 1, 1, NoText),
    /* 59 */ Row("Indicator-1", "Указатель", 46, 0x6E, 3, 3, 2, 0, 2, 1, 1, NoText),
    /* 60 */ Row("TTY", "Терминал", 62, 0xBE, 16, 5, 0, 0, 0, 1, 1, NoText),
    /* 61 */ Row("CurrentMeter-1", "Блок измерения тока", 36, 0xE4, 1, 6, 3, 0, 0, 1, 1, NoText),
    /* 62 */ Row("Tension-3", "Датчик усилия растяжения", 9, 0xC9, 1, 4, 0, 0, 0, 1, 0, Tension1000Text),
    /* 63 */ Row("Logic-1", "Блок логического контроллера", 47, 0xEF, 5, 5, 0, 0, 0, 1, 0, NoText),
    /* 64 */ Row("IoBlock-3", "Блок входов и нагрузок", 45, 0x2D, 1, 6, 0, 3, 0, 0, 0, IoBlockText),
    /* 65 */ Row("IoBlock-3", "Блок входов и нагрузок", 46, 0x6E, 3, 8, 2, 0, 8, 1, 1, IoBlockText),
    /* 66 */ Row("Tilt-4", "Датчик угла наклона стрелы", 13, 0x4D, 1, 4, 0, 2, 0, 0.01, 0, TiltVerticalText),
    /* 67 */ Row("Fuel-1", "Датчик уровня топлива", 8, 0x48, 1, 4, 0, 0, 0, 0.01, 0.01, NoText),
    /* 68 */ Row("Travel-4.1", "Датчик перемещения", 25, 0x19, 1, 4, 0, 0, 0, 1, 0, NoText),
    /* 69 */ Row("Travel-4.4", "Датчик перемещения", 26, 0x5A, 1, 4, 0, 0, 0, 1, 0, NoText),
    /* 70 */ Row("Travel-4.3", "Датчик перемещения", 27, 0xDB, 1, 4, 0, 0, 0, 1, 0, NoText),
    /* 71 */ Row("Travel-4.2", "Датчик перемещения", 28, 0x1C, 1, 4, 0, 0, 0, 1, 0, NoText),
    /* 72 */ Row("Travel-5.1", "Датчик перемещения", 25, 0x19, 1, 4, 0, 0, 0, 1, 0, NoText),
    /* 73 */ Row("Travel-5.4", "Датчик перемещения", 26, 0x5A, 1, 4, 0, 0, 0, 1, 0, NoText),
    /* 74 */ Row("Travel-5.3", "Датчик перемещения", 27, 0xDB, 1, 4, 0, 0, 0, 1, 0, NoText),
    /* 75 */ Row("Travel-5.2", "Датчик перемещения", 28, 0x1C, 1, 4, 0, 0, 0, 1, 0, NoText),
    /* 76 */ Row("Receiver-1", "Блок приема данных", 32, 0x60, 1, 4, 0, 0, 0, 1, 0, NoText),
    /* 77 */ Row("Bend-1", "Датчик усилия изгиба", 4, 0x84, 1, 4, 0, 0, 0, 1, 0, NoText),
    /* 78 */ Row("Bend-1", "Датчик усилия изгиба", 6, 0x46, 1, 4, 0, 0, 0, 1, 0, NoText),
    /* 79 */ Row("Bend-1", "Датчик усилия изгиба", 9, 0xC9, 1, 4, 0, 0, 0, 1, 0, NoText),
    /* 80 */ Row("Temperature-1", "Датчик температуры", 48, 0xB0, 1, 3, 0, 0, 0, 1, 0, NoText),
    /* 81 */ Row("Данные двигателя", "Данные двигателя", 61, 0xFD, 1, 5, 0, 0, 0, 1, 0, NoText),
    /* 82 */ Row("Azimuth-2", "Датчик азимута", 4, 0x84, 1, 7, 0, 2, 0, 1, 1, SlewGearText),
    /* 83 */ Row("Tilt-5", "Датчик продольного угла наклона", 49, 0x31, 1, 5, 0, 0, 0, 1, 0, NoText),
    /* 84 */ Row("Travel-7", "Датчик перемещения", 29, 0x9D, 1, 6, 0, 3, 0, 0.01, 1, NoText),
    /* 85 */ Row("Ultrasonic-1", "Ультразвуковой дальномер", 28, 0x1C, 1, 11, 0, 3, 0, 0.01, 1, NoText),
};

namespace {
using TAddressLists = std::array<std::vector<TFrameInfo*>, LineAddressCount>;

// Empty vectors are constant-initialized, so the lists exist (empty) even for code that runs
// before this unit's dynamic initialization; they are filled right after, before main.
TAddressLists AddressLists;

bool FillAddressLists()
{
    for (auto& list : AddressLists)
        list.clear();
    for (auto& row : DeviceCatalogue)
        AddressLists[row.Address & 0x3F].push_back(&row);
    return true;
}

const bool AddressListsFilled = FillAddressLists();
}

const TAddressLists& FrameInfoVectors = AddressLists;

void BindFrameClass(int row, TCreateFrame create, TDescribeMessage describeRequest,
                    TDescribeMessage describeAnswer)
{
    assert(row >= 0 && row < DeviceCatalogueCount);
    if (row < 0 || row >= DeviceCatalogueCount)
        return;
    TFrameInfo& info = DeviceCatalogue[row];
    info.CreateFrame = create;
    info.DescribeRequest = describeRequest;
    info.DescribeAnswer = describeAnswer;
}
