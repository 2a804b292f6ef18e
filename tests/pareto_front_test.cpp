#include "request/pareto_front.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace tarnel;

namespace {

bool beats(const FrontPoint& a, const FrontPoint& b)
{
    return a.deviation <= b.deviation && a.total >= b.total && (a.deviation < b.deviation || a.total > b.total);
}

// The front as its definition reads: every line no other line beats.
std::vector<std::size_t> bruteForceFront(const ResultList& list, const SearchParams& params)
{
    std::vector<FrontPoint> points;
    for (std::size_t line = 0; line < list.size(); ++line)
        if (!list.isMessage(line))
            points.push_back(frontPoint(list, line, params));
    std::vector<std::size_t> front;
    for (const FrontPoint& p : points)
        if (std::none_of(points.begin(), points.end(), [&](const FrontPoint& q) { return beats(q, p); }))
            front.push_back(p.line);
    return front;
}

std::vector<std::size_t> linesOf(const std::vector<FrontPoint>& points)
{
    std::vector<std::size_t> lines;
    for (const FrontPoint& p : points)
        lines.push_back(p.line);
    return lines;
}

void expectOrderedByCurrent(const std::vector<FrontPoint>& front)
{
    for (std::size_t i = 1; i < front.size(); ++i) {
        EXPECT_TRUE(front[i - 1].total > front[i].total ||
                    (front[i - 1].total == front[i].total && front[i - 1].line < front[i].line));
        // Along the front more current buys less deviation.
        EXPECT_GE(front[i - 1].deviation, front[i].deviation);
    }
}

} // namespace

// Generated runs of every shape, criterion, use and ratio mode, small enough
// for the definition to be checked pair by pair; exact dividers and equal
// totals come plenty in them.
TEST(ParetoFrontTest, generated_runs_give_the_front_the_definition_gives)
{
    std::mt19937 random(32);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int run = 0; run < 60; ++run) {
        SearchParams p;
        p.uin = 1.0 + pick(240) / 10.0;
        p.uout = p.uin * (0.05 + pick(90) / 100.0);
        p.tolerance = (1 + pick(30)) / 100.0;
        p.rMin = 1.0;
        p.rMax = 100.0;
        p.maxResults = 3000;
        p.values = seriesValues(pick(2) == 0 ? "E12" : "E24");
        for (ArmShapes* shapes : {&p.highShapes, &p.lowShapes})
            for (const ArmKind kind : armKinds)
                if (pick(2) == 0)
                    shapes->allow(kind);
        p.ratioOffset = pick(4) == 0 ? 0.0 : 1.0;
        p.use = pick(3) == 0 ? DividerUse::Feedback : DividerUse::Divider;
        p.criterion = pick(3) == 0 ? Criterion::WorstCase : Criterion::Nominal;
        p.partTolerance = 0.01;
        const SearchResult result = search(p);
        const std::vector<FrontPoint> front = paretoFront(result.list, p);
        EXPECT_EQ(linesOf(front).size(), bruteForceFront(result.list, p).size()) << "run " << run;
        std::vector<std::size_t> lines = linesOf(front);
        std::sort(lines.begin(), lines.end());
        EXPECT_EQ(lines, bruteForceFront(result.list, p)) << "run " << run;
        expectOrderedByCurrent(front);
        // Short blocks sieved by a sparse sample, totals of many lying beyond
        // the sample's, and every line one block that sieves itself: the same front.
        const LineWeigher weigh(result.list, p);
        std::vector<FrontPoint> sample, fronts, block, all;
        for (std::size_t line = 0; line < result.list.size(); ++line) {
            if (const std::optional<FrontPoint> point = weigh(line)) {
                if (line % 7 == 3)
                    sample.push_back(*point);
                block.push_back(*point);
                all.push_back(*point);
            }
            if (block.size() == 100 || line + 1 == result.list.size()) {
                const std::vector<FrontPoint> own = blockFront(block, FrontSieve(sample));
                fronts.insert(fronts.end(), own.begin(), own.end());
                block.clear();
            }
        }
        EXPECT_EQ(linesOf(frontOfBlocks(fronts)), linesOf(front)) << "run " << run;
        EXPECT_EQ(linesOf(blockFront(all, FrontSieve())), linesOf(front)) << "run " << run;
    }
}

// One point, all equal, equal totals and exact dividers, messages between
// lines: built by hand, as no search lists the same divider twice.
TEST(ParetoFrontTest, equals_stand_on_it_together_and_messages_are_no_points)
{
    const SearchParams p; // 10 V to 1 V: H/L is to be 9
    ResultList list;
    list.setRun(p);
    const auto v = [&](double kiloOhms) { return static_cast<ValueIndex>(p.values->floorIndex(kiloOhms)); };
    const Divider exact{1, {v(4.3), v(4.7), v(1.0), v(1.0)}}; // 4.3 k + 4.7 k over 1 k
    list.addMessage("a message");
    list.addResult(exact);
    EXPECT_EQ(linesOf(paretoFront(list, p)), (std::vector<std::size_t>{1}));
    EXPECT_EQ(frontPoint(list, 1, p).deviation, 0.0);
    list.addResult(exact);
    list.addResult(exact);
    EXPECT_EQ(linesOf(paretoFront(list, p)), (std::vector<std::size_t>{1, 2, 3}));
    list.addResult({1, {v(43.0), v(47.0), v(10.0), v(10.0)}}); // exact too, drawing a tenth: beats them
    list.addResult({0, {v(82.0), v(82.0), v(18.0), v(18.0)}}); // as much total, further off: beaten
    list.addResult({0, {v(100.0), v(100.0), v(1.0), v(1.0)}}); // the least current, far off: on it
    EXPECT_EQ(linesOf(paretoFront(list, p)), (std::vector<std::size_t>{6, 4}));
    EXPECT_TRUE(paretoFront(ResultList(), p).empty());
}

// A run of many blocks: no line on the front is beaten, and every other line
// is beaten by one on it.
TEST(ParetoFrontTest, blocks_of_a_long_run_merge_into_one_front)
{
    SearchInput input = test::inputWith({{Field::Tol, "100"}, {Field::MaxResults, "400000"}, {Field::Rmax, "1000"},
                                         {Field::RsumMax, "9100000"}});
    input.highShapes = input.lowShapes = ArmShapes::every();
    const test::TestRun run = test::runInput(input);
    ASSERT_GT(run.list.size(), 200'000u);
    const SearchParams& p = run.reading.params;
    const std::vector<FrontPoint> front = paretoFront(run.list, p);
    ASSERT_FALSE(front.empty());
    expectOrderedByCurrent(front);
    std::vector<bool> onFront(run.list.size());
    for (const FrontPoint& f : front)
        onFront[f.line] = true;
    for (std::size_t line = 0; line < run.list.size(); ++line) {
        const FrontPoint point = frontPoint(run.list, line, p);
        const bool beaten = std::any_of(front.begin(), front.end(), [&](const FrontPoint& f) { return beats(f, point); });
        ASSERT_NE(beaten, onFront[line]) << run.list.line(line);
    }
}
