#pragma once
// Commands whose behaviour belongs to parts of the window not built yet route here, one line
// each, so that every menu item, handler and start-up step is wired and a caller never meets a
// missing function. The calls are recorded (tests check the routing) and logged under the
// category "mirvane.notbuilt" (off unless QT_LOGGING_RULES turns it on).
#include <QString>
#include <utility>
#include <vector>

struct TNotBuiltCall {
    QString Command;
    const void* Subject = nullptr;
};

void NotBuilt(const char* command, const void* subject = nullptr);
// The calls recorded since the last clear (at most the last 256).
const std::vector<TNotBuiltCall>& NotBuiltCalls();
void ClearNotBuiltCalls();
bool NotBuiltCalled(const QString& command, const void* subject = nullptr);
