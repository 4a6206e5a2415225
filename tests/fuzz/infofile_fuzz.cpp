// Feeds arbitrary bytes to the state-file reader, applied to a fixed document: scheme "A" with
// rows 7, 60, 0 and 63, an empty scheme "B" and scheme "C" with row 85. Whatever it accepts
// must write back and read again to the same state.
#include <cstdint>
#include <cstdlib>

#include "model/SchemeFiles.h"

namespace {
void Require(bool condition)
{
    if (!condition)
        std::abort();
}

TSchemeList Document()
{
    TSchemeList schemes;
    const struct {
        const char* name;
        std::initializer_list<std::uint32_t> types;
    } layout[] = {{"A", {7, 60, 0, 63}}, {"B", {}}, {"C", {85}}};
    for (const auto& l : layout) {
        auto& scheme = *schemes.emplace_back(std::make_unique<TDeviceScheme>(QString::fromLatin1(l.name)));
        for (std::uint32_t type : l.types)
            scheme.Objects.push_back(std::make_unique<TSchemeObject>(QStringLiteral("d"), type, ModeReceive));
    }
    return schemes;
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray image(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TSchemeList schemes = Document();
    int lineMode = -1;
    QString current;
    const bool ok = ParseInfoImage(image, schemes, lineMode, current);
    for (const auto& scheme : schemes)
        for (const auto& object : scheme->Objects) {
            Require(object->Mode <= ModeDisabled);
            Require(object->Static <= 1);
            Require(object->Request[0] == 0 && object->Answer[0] == 0 && object->Request[15] == 0);
        }
    if (!ok)
        return 0;
    Require(lineMode == 0 || lineMode == 1);

    const auto written = BuildInfoImage(schemes, static_cast<std::uint8_t>(lineMode), current);
    // Short records are written out to their rows' full lengths, which may pass the limit.
    if (!written)
        return 0;
    TSchemeList again = Document();
    int lineModeAgain = -1;
    QString currentAgain;
    Require(ParseInfoImage(*written, again, lineModeAgain, currentAgain));
    // The image holds every field of the state: rebuilt alike, the state read back is the same.
    Require(BuildInfoImage(again, static_cast<std::uint8_t>(lineModeAgain), currentAgain) == written);
    return 0;
}
