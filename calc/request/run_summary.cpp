#include "request/run_summary.h"

#include "values/decimal_bounds.h"
#include "search/divider.h"
#include "request/input_fields.h"

#include <algorithm>

namespace tarnel {

namespace {

bool anyArm(const SearchParams& params, bool highArm)
{
    return std::any_of(armBoxes.begin(), armBoxes.end(),
                       [&](const ArmBox& box) { return box.highArm == highArm && params.*box.flag; });
}

std::string reasonForNone(const SearchParams& params)
{
    if (!anyArm(params, true) || !anyArm(params, false))
        return std::string("no shape is ticked for the ") + (anyArm(params, true) ? "low" : "high") + " arm";
    if (params.values->endIndex(params.rMax) <= params.values->floorIndex(params.rMin))
        return "Rmin is above Rmax";
    if (!notAbove(params.rSumMin, params.rSumMax))
        return "RsumMin is above RsumMax";
    // 1 + H/L exceeds 1 by far more than a decimal bound allows.
    if (params.ratioOffset == 1.0 && params.ratioHigh <= 1.0)
        return "Uout is not below Uin, which 1 + H/L cannot give";
    return {};
}

} // namespace

RunSummary summarizeRun(const SearchParams& params, std::uint64_t found, std::size_t shown)
{
    RunSummary summary{found, shown, found == 0 ? reasonForNone(params) : std::string(), {}, params.values};
    const std::span<const double> values = params.values->values();
    for (const double listed : params.specialValues.listedValues) {
        if (listed != unusedSpecialValue && std::none_of(values.begin(), values.end(), [listed](double v) {
                return specialValueMatches(listed, v);
            }))
            summary.unmatchedListed.push_back(listed);
    }
    return summary;
}

std::string RunSummary::text(const NumberText& numbers) const
{
    if (stopped)
        return "Stopped";
    std::string out;
    if (found == 0)
        out = noneBecause.empty() ? "No divider meets the bounds" : "No divider: " + noneBecause;
    else if (shown < found)
        out = numbers.grouped(shown) + " of " + numbers.grouped(found) + " dividers shown: the limit cut the rest";
    else
        out = numbers.grouped(found) + (found == 1 ? " divider" : " dividers");
    for (const double listed : unmatchedListed)
        out += "; " + numbers.plain(listed) +
               (values->isSeries() ? " is no " + values->name() + " value" : " is not in " + values->name());
    if (const std::size_t outside = values->outsideRange(); outside > 0)
        out += "; " + numbers.grouped(outside) + (outside == 1 ? " value in " : " values in ") + values->name() +
               (outside == 1 ? " lies" : " lie") + " outside " + rangeText(resistanceRange, numbers) + " k and " +
               (outside == 1 ? "is" : "are") + " not tried";
    return out;
}

} // namespace tarnel
