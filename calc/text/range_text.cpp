#include "text/range_text.h"

namespace tarnel {

std::string rangeText(FieldRange range, const NumberText& numbers)
{
    return numbers.plain(range.lo) + " to " + numbers.plain(range.hi);
}

} // namespace tarnel
