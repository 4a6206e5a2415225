#include "frames/shared/FieldControls.h"

#include "model/Helpers.h"
#include "platform/Numbers.h"

void WriteCell(TDeviceInfo& info, int column, const QString& text)
{
    if (info.GridRow && info.GridCell(column) != text)
        info.SetGridCell(column, text);
}

long double WrapIntoEdit(TEdit& edit, long double value, double low, double high, QString (*show)(long double))
{
    bool changed = false;
    const double wrapped = WrapValue(static_cast<double>(value), low, high, changed);
    if (!changed)
        return value;
    edit.SetText(show(wrapped));
    return wrapped;
}

std::optional<long double> ReadWrappedEdit(TEdit& edit, double low, double high, QString (*show)(long double))
{
    const std::optional<long double> value = StrToFloat(edit.Text());
    if (!value)
        return std::nullopt;
    return WrapIntoEdit(edit, *value, low, high, show);
}

void StoreCheckBoxes(TMessageImage& image, const Bits& part, std::initializer_list<const TCheckBox*> boxes)
{
    bool flags[64] = {};
    std::size_t count = 0;
    for (const TCheckBox* box : boxes)
        if (count < std::size(flags))
            flags[count++] = box->Checked();
    StoreFlags(image, part, std::span<const bool>(flags, count));
}

void ShowCheckBoxes(const TMessageImage& image, const Bits& part, std::initializer_list<TCheckBox*> boxes)
{
    int index = 0;
    for (TCheckBox* box : boxes)
        box->SetChecked(FlagAt(image, part, index++));
}
