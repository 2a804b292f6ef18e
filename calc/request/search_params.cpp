#include "request/search_params.h"

#include "request/guarantee.h"

namespace tarnel {

void deriveRatioWindow(SearchParams& params)
{
    params.ratio = params.uin / params.uout;
    const RatioSpan window = ratioWindow(params.tolerance, params);
    params.ratioLow = window.low;
    params.ratioHigh = window.high;
}

} // namespace tarnel
