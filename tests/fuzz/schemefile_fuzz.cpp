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
    // The image holds every field the file keeps: rebuilt alike, what was read back is the same.
    Require(BuildSchemeImage(again, commentAgain) == written);
    return 0;
}
