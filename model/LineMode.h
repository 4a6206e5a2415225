#pragma once
// The line mode: 0 "Диагностика БИ" (listen to the master, answer for emulated devices),
// 1 "Диагностика датчиков" (poll the devices). Set by the main window, read by the scheme-file
// reader and the receive thread.
#include <atomic>

// clang-format off
enum : int { LineModeMaster = 0, LineModeSensors = 1 };
// clang-format on

extern std::atomic<int> LineMode;
