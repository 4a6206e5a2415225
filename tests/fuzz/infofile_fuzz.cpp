// Feeds arbitrary bytes to the state-file reader, applied to a fixed document: scheme "A" with
// rows 7, 60, 0 and 63, an empty scheme "B" and scheme "C" with row 85. Whatever it accepts
// must write back and read again to the same state.
#include <cstdint>
#include <cstdlib>

#include "model/Catalogue.h"
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

bool SameState(const TSchemeList& a, const TSchemeList& b)
{
    for (std::size_t s = 0; s < a.size(); ++s)
        for (std::size_t o = 0; o < a[s]->Objects.size(); ++o) {
            const auto& x = *a[s]->Objects[o];
            const auto& y = *b[s]->Objects[o];
            const TFrameInfo& row = DeviceCatalogue[x.Type];
            for (int i = 1; i + 1 < row.RequestLength; ++i)
                if (x.Request[i] != y.Request[i])
                    return false;
            for (int i = 1; i + 1 < row.AnswerLength; ++i)
                if (x.Answer[i] != y.Answer[i])
                    return false;
            if (x.Mode != y.Mode || x.Static != y.Static)
                return false;
        }
    return true;
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
    Require(lineModeAgain == lineMode && currentAgain == current);
    Require(SameState(schemes, again));
    return 0;
}
