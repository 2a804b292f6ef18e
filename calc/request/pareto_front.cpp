#include "request/pareto_front.h"

#include "request/divider_details.h"
#include "search/divider.h"
#include "search/ordered_pipeline.h"
#include "text/rounded_digits.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>

namespace tarnel {

namespace {

// Lines a block: worked on by one core, its front found in one pass and a
// sort of the few lines that may be on it.
constexpr std::size_t blockLines = std::size_t{1} << 16;

// The more total resistance, the less current: first on the front; equals
// in order of deviation, then of line.
bool before(const FrontPoint& a, const FrontPoint& b)
{
    if (a.total != b.total)
        return a.total > b.total;
    return a.deviation != b.deviation ? a.deviation < b.deviation : a.line < b.line;
}

// The front of points by the definition, in the order of before: a point
// is on it when its deviation is the least of those as large in total and
// below that of every point larger in total.
std::vector<FrontPoint> frontOf(std::vector<FrontPoint> points)
{
    std::sort(points.begin(), points.end(), before);
    std::vector<FrontPoint> front;
    double least = std::numeric_limits<double>::infinity(); // of the larger totals
    for (auto group = points.begin(); group != points.end();) {
        const auto end = std::find_if(group, points.end(), [&](const FrontPoint& p) { return p.total != group->total; });
        if (group->deviation < least)
            for (auto p = group; p != end && p->deviation == group->deviation; ++p)
                front.push_back(*p);
        least = std::min(least, group->deviation);
        group = end;
    }
    return front;
}

// A total's bin: its exponent and first eight bits, which order positive
// doubles as the doubles themselves.
std::uint64_t binOf(double total)
{
    return std::bit_cast<std::uint64_t>(total) >> 44;
}

// The front of a block's lines. Without the csv's rounding first, each line
// is weighed against the least deviation of the bins of larger totals;
// only those that come within the rounding of it may be on the front, and
// only they are rounded and sorted.
std::vector<FrontPoint> blockFront(const ResultList& list, const SearchParams& params, std::size_t first,
                                   std::size_t end)
{
    std::vector<FrontPoint> points;
    points.reserve(end - first);
    std::uint64_t lowBin = std::numeric_limits<std::uint64_t>::max(), highBin = 0;
    for (std::size_t line = first; line < end; ++line) {
        if (list.isMessage(line))
            continue;
        const DividerFigures figures = dividerFigures(list.divider(line), params.ratioOffset, list.values());
        points.push_back({shownDeviation(figures, params), figures.total, line});
        lowBin = std::min(lowBin, binOf(figures.total));
        highBin = std::max(highBin, binOf(figures.total));
    }
    if (points.empty())
        return {};
    // Least deviation of each bin, then of every bin above it.
    std::vector<double> above(static_cast<std::size_t>(highBin - lowBin) + 1, std::numeric_limits<double>::infinity());
    for (const FrontPoint& p : points) {
        double& least = above[static_cast<std::size_t>(binOf(p.total) - lowBin)];
        least = std::min(least, p.deviation);
    }
    double larger = std::numeric_limits<double>::infinity();
    for (auto bin = above.rbegin(); bin != above.rend(); ++bin) {
        const double own = *bin;
        *bin = larger;
        larger = std::min(larger, own);
    }
    std::vector<FrontPoint> near;
    for (const FrontPoint& p : points)
        if (p.deviation <= above[static_cast<std::size_t>(binOf(p.total) - lowBin)] * (1 + 1e-10))
            near.push_back({asWrittenToTwelveDigits(p.deviation), asWrittenToTwelveDigits(p.total), p.line});
    return frontOf(std::move(near));
}

} // namespace

FrontPoint frontPoint(const ResultList& list, std::size_t line, const SearchParams& params)
{
    const DividerFigures figures = dividerFigures(list.divider(line), params.ratioOffset, list.values());
    return {asWrittenToTwelveDigits(shownDeviation(figures, params)), asWrittenToTwelveDigits(figures.total), line};
}

std::vector<FrontPoint> paretoFront(const ResultList& list, const SearchParams& params, std::stop_token stop)
{
    const std::size_t lines = list.size();
    std::vector<FrontPoint> fronts;
    const auto work = [&](std::size_t block) {
        return blockFront(list, params, block * blockLines, std::min(lines, (block + 1) * blockLines));
    };
    const auto deliver = [&](std::size_t, std::vector<FrontPoint> front) {
        fronts.insert(fronts.end(), front.begin(), front.end());
        return true;
    };
    if (!forEachInOrder((lines + blockLines - 1) / blockLines, work, deliver, {}, stop))
        return {};
    return frontOf(std::move(fronts));
}

ResultList frontLines(const ResultList& list, const SearchParams& params, const std::vector<FrontPoint>& points)
{
    ResultList lines(list.numbers());
    lines.setRun(params);
    for (const FrontPoint& p : points)
        lines.addResult(list.divider(p.line));
    return lines;
}

std::string frontSummaryText(std::size_t onFront, std::size_t dividers, const NumberText& numbers)
{
    return numbers.grouped(onFront) + " of " + numbers.grouped(dividers) + (dividers == 1 ? " divider" : " dividers") +
           " on the front";
}

} // namespace tarnel
