#include "frames/Registration.h"

#include "frames/Clock.h"
#include "frames/Placeholder.h"
#include "frames/SingleValue.h"

void BindRows(std::initializer_list<int> rows, TCreateFrame create, TDescribeMessage describeRequest,
              TDescribeMessage describeAnswer)
{
    for (int row : rows)
        BindFrameClass(row, create, describeRequest, describeAnswer);
}

namespace {

// The logic controller's request carries nothing the line monitor decodes.
constexpr int LogicControllerRow = 63;

bool HasRequestDecoder(int row)
{
    return DeviceCatalogue[row].RequestLength > 1 && row != LogicControllerRow;
}

// Every row starts with the placeholder, so that no row is ever without a factory; a request
// that is the address byte alone has nothing to decode.
void BindPlaceholders()
{
    for (int row = 0; row < DeviceCatalogueCount; ++row) {
        const TDescribeMessage request = HasRequestDecoder(row) ? DescribePlaceholder : nullptr;
        BindFrameClass(row, CreatePlaceholderFrame, request, DescribePlaceholder);
    }
}

}  // namespace

void RegisterFrameClasses()
{
    BindPlaceholders();
    // One line per frame class, binding the rows it serves over their placeholders:
    //   BindRows({rows...}, CreateXFrame, DescribeXRequest, DescribeXAnswer);
    RegisterClockFrame();
    RegisterSingleValueFrames();
}
