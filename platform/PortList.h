#pragma once
// The serial ports of the machine, as tty names under /dev ("ttyS0", "ttyUSB0", "ttyACM0"):
// the entries of the tty class folder of sysfs that have a device behind them, less the
// built-in "ttyS" slots that have no UART (their type reads 0, unknown). Reading the type from
// sysfs keeps the scan from opening any port.
#include <QString>
#include <QStringList>

inline constexpr const char* SysTtyClassDir = "/sys/class/tty";

// The folder the scan reads: MIRVANE_TTY_CLASS_DIR when set (tests and headless runs point it
// at a folder of their own), else SysTtyClassDir.
QString TtyClassDir();

// The port names found under `classDir`, in the folder's order (unsorted).
QStringList EnumerateSerialPorts(const QString& classDir);

// Port names sorted as the port menus show them: case-insensitive text order of the user's
// locale, so "ttyS10" comes before "ttyS2".
void SortPortNames(QStringList& names);
