// Feeds arbitrary bytes to the scheme-file reader. Whatever it accepts must hold valid types
// only and survive a write and a second read unchanged.
#include <cstdint>
#include <cstdlib>

#include "model/Catalogue.h"
#include "model/LineMode.h"
#include "model/SchemeFiles.h"

namespace {
void Require(bool condition)
{
    if (!condition)
        std::abort();
}

bool SameSchemes(const TSchemeList& a, const TSchemeList& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t s = 0; s < a.size(); ++s) {
        if (a[s]->Name != b[s]->Name || a[s]->Objects.size() != b[s]->Objects.size())
            return false;
        for (std::size_t o = 0; o < a[s]->Objects.size(); ++o) {
            const auto& x = *a[s]->Objects[o];
            const auto& y = *b[s]->Objects[o];
            if (x.Name != y.Name || x.Type != y.Type || x.Comment != y.Comment || x.Mode != y.Mode)
                return false;
        }
    }
    return true;
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray image(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    LineMode = size % 2 ? LineModeSensors : LineModeMaster;
    TSchemeList schemes;
    QString comment;
    const bool ok = ParseSchemeImage(image, schemes, comment);
    for (const auto& scheme : schemes)
        for (const auto& object : scheme->Objects)
            Require(IsValidType(object->Type));
    if (!ok)
        return 0;

    // Objects without a comment gain its NUL, so the written image may pass the limit.
    const auto written = BuildSchemeImage(schemes, comment);
    if (!written)
        return 0;
    TSchemeList again;
    QString commentAgain;
    Require(ParseSchemeImage(*written, again, commentAgain));
    Require(commentAgain == comment);
    Require(SameSchemes(schemes, again));
    Require(BuildSchemeImage(again, commentAgain) == written);
    return 0;
}
