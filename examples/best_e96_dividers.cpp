// The ten best E96 dividers from 12 V to 3.3 V within 1 %, every arm shape,
// through Tarnel's library.
#include "tarnel/search.h"

#include <iostream>

int main()
{
    tarnel::SearchParams request;
    request.uin = 12.0;
    request.uout = 3.3;
    request.tolerance = 0.01;
    tarnel::deriveRatioWindow(request);
    request.rMin = 1.0; // kilo-ohms
    request.rMax = 1000.0;
    request.rSumMin = 10.0;
    request.rSumMax = 1000.0;
    request.maxResults = 10;
    request.useHi1R = request.useHi2Rser = request.useHi2Rpar = true;
    request.useLo1R = request.useLo2Rser = request.useLo2Rpar = true;
    request.order = tarnel::ListOrder::BestFirst;
    request.values = tarnel::seriesValues(tarnel::seriesIndex("E96"));

    tarnel::ResultList list;
    const tarnel::RunSummary summary = tarnel::searchDividers(request, list);
    for (std::size_t i = 0; i < list.size(); ++i)
        std::cout << list.line(i) << '\n';
    std::cout << summary.text(list.numbers()) << '\n';
}
