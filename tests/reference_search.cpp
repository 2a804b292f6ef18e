#include "reference_search.h"

#include "special_values.h"
#include "value_cursor.h"

namespace tarnel::test {

namespace {

double par(double a, double b) { return 1.0 / (1.0 / a + 1.0 / b); }

// One resistor's loop: from the floor of rMin while not above rMax and
// while the list has room.
template <class Body>
void eachValue(const SearchParams& p, const ResultList& list, Body body)
{
    for (ValueCursor c(p.rMin); !c.finished && c.value() <= p.rMax && list.resultCount() < p.maxResults;
         c.advance(p.rMax))
        body(c.value());
}

bool inWindow(const SearchParams& p, double ratio, double total)
{
    return p.ratioLow <= ratio && ratio <= p.ratioHigh && p.rSumMin <= total && total <= p.rSumMax;
}

double deviation(const SearchParams& p, double ratio) { return ((ratio - p.ratio) / p.ratio) * 100.0; }

} // namespace

void referenceSearch(const SearchParams& p, ResultList& list)
{
    const double off = p.ratioOffset;
    if (p.useHi1R && p.useLo1R)
        eachValue(p, list, [&](double h) {
            eachValue(p, list, [&](double l) {
                const double r = off + h / l;
                if (inWindow(p, r, h + l) && specValsCheck2(h, l))
                    list.addResult(0, {h, l, deviation(p, r)});
            });
        });
    if (p.useHi2Rser && p.useLo1R)
        eachValue(p, list, [&](double h1) {
            eachValue(p, list, [&](double h2) {
                if (!(h1 <= h2))
                    return;
                eachValue(p, list, [&](double l) {
                    const double r = off + (h1 + h2) / l;
                    if (inWindow(p, r, (h1 + h2) + l) && specValsCheck3(h1, h2, l))
                        list.addResult(1, {h1, h2, l, deviation(p, r)});
                });
            });
        });
    if (p.useHi2Rpar && p.useLo1R)
        eachValue(p, list, [&](double h1) {
            eachValue(p, list, [&](double h2) {
                if (!(h1 <= h2))
                    return;
                eachValue(p, list, [&](double l) {
                    const double r = off + par(h1, h2) / l;
                    if (inWindow(p, r, par(h1, h2) + l) && specValsCheck3(h1, h2, l))
                        list.addResult(2, {h1, h2, l, deviation(p, r)});
                });
            });
        });
    if (p.useHi1R && p.useLo2Rser)
        eachValue(p, list, [&](double h) {
            eachValue(p, list, [&](double l2) {
                eachValue(p, list, [&](double l1) {
                    if (!(l1 <= l2))
                        return;
                    const double r = off + h / (l1 + l2);
                    if (inWindow(p, r, (h + l1) + l2) && specValsCheck3(h, l1, l2))
                        list.addResult(3, {h, l1, l2, deviation(p, r)});
                });
            });
        });
    if (p.useHi1R && p.useLo2Rpar)
        eachValue(p, list, [&](double h) {
            eachValue(p, list, [&](double l2) {
                eachValue(p, list, [&](double l1) {
                    if (!(l1 <= l2))
                        return;
                    const double r = off + h / par(l1, l2);
                    if (inWindow(p, r, h + par(l1, l2)) && specValsCheck3(h, l1, l2))
                        list.addResult(4, {h, l1, l2, deviation(p, r)});
                });
            });
        });

    // The four combinations with two resistors in each arm share their loops.
    const auto twoByTwo = [&](std::size_t format, auto ratioOf, auto totalOf) {
        eachValue(p, list, [&](double h1) {
            eachValue(p, list, [&](double h2) {
                if (!(h1 <= h2))
                    return;
                eachValue(p, list, [&](double l1) {
                    eachValue(p, list, [&](double l2) {
                        if (!(l1 <= l2))
                            return;
                        const double r = off + ratioOf(h1, h2, l1, l2);
                        if (inWindow(p, r, totalOf(h1, h2, l1, l2)) && specValsCheck4(h1, h2, l1, l2))
                            list.addResult(format, {h1, h2, l1, l2, deviation(p, r)});
                    });
                });
            });
        });
    };
    if (p.useHi2Rser && p.useLo2Rser)
        twoByTwo(
            5, [](double a, double b, double c, double d) { return (a + b) / (c + d); },
            [](double a, double b, double c, double d) { return ((a + b) + c) + d; });
    if (p.useHi2Rpar && p.useLo2Rpar)
        twoByTwo(
            6, [](double a, double b, double c, double d) { return par(a, b) / par(c, d); },
            [](double a, double b, double c, double d) { return par(a, b) + par(c, d); });
    if (p.useHi2Rser && p.useLo2Rpar)
        twoByTwo(
            7, [](double a, double b, double c, double d) { return (a + b) / par(c, d); },
            [](double a, double b, double c, double d) { return (a + b) + par(c, d); });
    if (p.useHi2Rpar && p.useLo2Rser)
        twoByTwo(
            8, [](double a, double b, double c, double d) { return par(a, b) / (c + d); },
            [](double a, double b, double c, double d) { return par(a, b) + (c + d); });
}

} // namespace tarnel::test
