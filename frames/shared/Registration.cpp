#include "frames/shared/Registration.h"

void BindRows(std::initializer_list<int> rows, TCreateFrame create, TDescribeMessage describeRequest,
              TDescribeMessage describeAnswer)
{
    for (int row : rows)
        BindFrameClass(row, create, describeRequest, describeAnswer);
}
