#include "run_summary.h"

#include "decimal_bounds.h"
#include "divider.h"
#include "input_fields.h"
#include "special_values.h"
#include "standard_values.h"

#include <algorithm>

namespace tarnel {

namespace {

// Groups thousands with the character a reader of the separator expects,
// so that 15,975 never reads as a fraction.
std::string count(std::uint64_t n, const NumberText& numbers)
{
    const std::string digits = std::to_string(n);
    const char group = numbers.decimalSeparator() == "," ? '.' : ',';
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out.push_back(group);
        out.push_back(digits[i]);
    }
    return out;
}

bool anyArm(const SearchParams& params, bool highArm)
{
    return std::any_of(armBoxes.begin(), armBoxes.end(),
                       [&](const ArmBox& box) { return box.highArm == highArm && params.*box.flag; });
}

std::string reasonForNone(const SearchParams& params)
{
    if (!anyArm(params, true) || !anyArm(params, false))
        return std::string("no shape is ticked for the ") + (anyArm(params, true) ? "low" : "high") + " arm";
    if (standardEndIndex(params.rMax) <= standardFloorIndex(params.rMin))
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
    RunSummary summary{found, shown, found == 0 ? reasonForNone(params) : std::string(), {}};
    const auto& values = standardValues();
    for (const double listed : specialValueTable.listedValues) {
        if (listed != unusedSpecialValue && std::none_of(values.begin(), values.end(), [listed](double v) {
                return specialValueMatches(listed, v);
            }))
            summary.unmatchedListed.push_back(listed);
    }
    return summary;
}

std::string RunSummary::text(const NumberText& numbers) const
{
    std::string out;
    if (found == 0)
        out = noneBecause.empty() ? "No divider meets the bounds" : "No divider: " + noneBecause;
    else if (shown < found)
        out = count(shown, numbers) + " of " + count(found, numbers) + " dividers shown: the limit cut the rest";
    else
        out = count(found, numbers) + (found == 1 ? " divider" : " dividers");
    for (const double listed : unmatchedListed)
        out += "; " + numbers.plain(listed) + " is no E24 value";
    return out;
}

} // namespace tarnel
