#include "request/search_params.h"

namespace tarnel {

void deriveRatioWindow(SearchParams& params)
{
    params.ratio = params.uin / params.uout;
    params.ratioLow = (1.0 - params.tolerance) * params.ratio;
    params.ratioHigh = (1.0 + params.tolerance) * params.ratio;
}

} // namespace tarnel
