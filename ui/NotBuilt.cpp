#include "ui/NotBuilt.h"

#include <QLoggingCategory>

namespace {
Q_LOGGING_CATEGORY(notBuilt, "mirvane.notbuilt", QtWarningMsg)

std::vector<TNotBuiltCall>& Calls()
{
    static std::vector<TNotBuiltCall> calls;
    return calls;
}
} // namespace

void NotBuilt(const char* command, const void* subject)
{
    auto& calls = Calls();
    if (calls.size() >= 256)
        calls.erase(calls.begin());
    calls.push_back({QString::fromLatin1(command), subject});
    qCDebug(notBuilt, "%s: not built yet", command);
}

const std::vector<TNotBuiltCall>& NotBuiltCalls() { return Calls(); }
void ClearNotBuiltCalls() { Calls().clear(); }

bool NotBuiltCalled(const QString& command, const void* subject)
{
    for (const auto& call : Calls())
        if (call.Command == command && (!subject || call.Subject == subject))
            return true;
    return false;
}
