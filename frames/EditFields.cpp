#include "frames/EditFields.h"

bool StoreEditValue(TMessageImage& image, const Num& field, const TEdit* edit)
{
    const std::optional<std::int64_t> raw = field.fromEdit(edit->Text());
    if (raw)
        field.bits.store(image, *raw);
    return raw.has_value();
}

bool StoreCellValue(TMessageImage& image, const Num& field, const QString& text)
{
    const std::optional<std::int64_t> raw = field.fromCell(text);
    if (raw)
        field.bits.store(image, *raw);
    return raw.has_value();
}
