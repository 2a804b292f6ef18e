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
// Lines at most in the sample that sieves every block.
constexpr std::size_t sampleLines = std::size_t{1} << 19;
// Past this many lines through the sample's sieve, sieving them again costs less than sorting them.
constexpr std::size_t ownSieveFrom = 1024;

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

} // namespace

FrontSieve::FrontSieve(const std::vector<FrontPoint>& points)
{
    if (points.empty())
        return;
    // Every bin at once, from the least total to the largest.
    const auto [least, most] = std::minmax_element(points.begin(), points.end(), [](const auto& a, const auto& b) {
        return a.total < b.total;
    });
    lowBin_ = binOf(least->total);
    least_.resize(static_cast<std::size_t>(binOf(most->total) - lowBin_) + 1);
    for (const FrontPoint& p : points)
        add(p);
    seal();
}

void FrontSieve::add(const FrontPoint& p)
{
    const std::uint64_t bin = binOf(p.total);
    if (least_.empty())
        lowBin_ = bin;
    if (bin < lowBin_) {
        // At least doubled, so that totals falling bin by bin take no time.
        const std::uint64_t grow = std::min<std::uint64_t>(lowBin_, std::max<std::uint64_t>(lowBin_ - bin, least_.size()));
        least_.insert(least_.begin(), static_cast<std::size_t>(grow), Least{});
        lowBin_ -= grow;
    }
    if (bin >= lowBin_ + least_.size())
        least_.resize(static_cast<std::size_t>(bin - lowBin_) + 1);
    double& own = least_[static_cast<std::size_t>(bin - lowBin_)].from;
    own = std::min(own, p.deviation);
}

void FrontSieve::seal()
{
    double larger = std::numeric_limits<double>::infinity();
    for (std::size_t bin = least_.size(); bin-- > 0;) {
        Least& least = least_[bin];
        least.above = larger;
        least.farAbove = bin + 1 < least_.size() ? least_[bin + 1].above : larger;
        least.from = larger = std::min(larger, least.from);
    }
}

bool FrontSieve::mayBeOn(const FrontPoint& p) const
{
    const std::uint64_t bin = binOf(p.total);
    if (least_.empty() || bin >= lowBin_ + least_.size())
        return true;
    double above = 0, farAbove = 0;
    if (bin >= lowBin_) {
        const Least& least = least_[static_cast<std::size_t>(bin - lowBin_)];
        above = least.above;
        farAbove = least.farAbove;
    } else {
        above = least_.front().from;
        farAbove = bin + 1 == lowBin_ ? least_.front().above : above;
    }
    // Unrounded: a line that strays beyond the rounding of a larger total's
    // deviation, or as far as the deviation of a total a bin apart (even
    // equal, as so many exact ones are), is beaten however both are rounded.
    return p.deviation <= above * (1 + 1e-10) && p.deviation < farAbove;
}

FrontSieve frontSieve(const ResultList& list, const SearchParams& params)
{
    // Enough lines to find most of what beats the rest, few enough to take no time or memory.
    const std::size_t every = std::max<std::size_t>(1, list.size() / sampleLines);
    const LineWeigher weigh(list, params);
    FrontSieve sieve;
    for (std::size_t line = 0; line < list.size(); line += every)
        if (const std::optional<FrontPoint> p = weigh(line))
            sieve.add(*p);
    sieve.seal();
    return sieve;
}

std::vector<FrontPoint> blockFront(const std::vector<FrontPoint>& points, const FrontSieve& sieve)
{
    std::vector<FrontPoint> near;
    for (const FrontPoint& p : points)
        if (sieve.mayBeOn(p))
            near.push_back(p);
    // Where the sample missed what beats much of the block, what passed
    // sieves itself before it is sorted: a point it rejects is beaten by
    // one of the block's own.
    if (near.size() > ownSieveFrom) {
        const FrontSieve own(near);
        std::erase_if(near, [&](const FrontPoint& p) { return !own.mayBeOn(p); });
    }
    for (FrontPoint& p : near)
        p = {asWrittenToTwelveDigits(p.deviation), asWrittenToTwelveDigits(p.total), p.line};
    return frontOf(std::move(near));
}

std::vector<FrontPoint> frontOfBlocks(std::vector<FrontPoint> fronts)
{
    return frontOf(std::move(fronts));
}

LineWeigher::LineWeigher(const ResultList& list, const SearchParams& params)
    : list_(&list), circuit_(params), deviation_(params)
{
}

std::optional<FrontPoint> LineWeigher::operator()(std::size_t line) const
{
    const std::optional<Divider> divider = list_->dividerAt(line);
    if (!divider)
        return std::nullopt;
    const DividerFigures figures = dividerFigures(*divider, circuit_, list_->values());
    return FrontPoint{deviation_(figures), figures.total, line};
}

FrontPoint frontPoint(const ResultList& list, std::size_t line, const SearchParams& params)
{
    const FrontPoint p = LineWeigher(list, params)(line).value();
    return {asWrittenToTwelveDigits(p.deviation), asWrittenToTwelveDigits(p.total), line};
}

std::vector<FrontPoint> paretoFront(const ResultList& list, const SearchParams& params, std::stop_token stop)
{
    const std::size_t lines = list.size();
    const FrontSieve sieve = frontSieve(list, params);
    const LineWeigher weigh(list, params);
    std::vector<FrontPoint> fronts;
    const auto work = [&](std::size_t block) {
        const std::size_t first = block * blockLines;
        const std::size_t end = std::min(lines, first + blockLines);
        std::vector<FrontPoint> points;
        points.reserve(end - first);
        for (std::size_t line = first; line < end; ++line)
            if (const std::optional<FrontPoint> p = weigh(line))
                points.push_back(*p);
        return blockFront(points, sieve);
    };
    const auto deliver = [&](std::size_t, std::vector<FrontPoint> front) {
        fronts.insert(fronts.end(), front.begin(), front.end());
        return true;
    };
    if (!forEachInOrder((lines + blockLines - 1) / blockLines, work, deliver, {}, stop))
        return {};
    return frontOfBlocks(std::move(fronts));
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
