// The ten best E96 dividers from 12 V to 3.3 V within 1 %, every arm shape.
#include <tarnel/tarnel.h>

#include <iostream>

int main()
{
    tarnel::SearchParams request; // the tool's default search, then what differs
    request.uin = 12.0;
    request.uout = 3.3;
    request.tolerance = 0.01;
    request.rMax = request.rSumMax = 1000.0; // kilo-ohms
    request.highShapes = request.lowShapes = tarnel::ArmShapes::every();
    request.order = tarnel::ListOrder::BestFirst;
    request.maxResults = 10;
    request.values = tarnel::seriesValues("E96");

    const tarnel::SearchResult result = tarnel::search(request);
    result.write(tarnel::OutputFormat::Text, std::cout);
    std::cout << result.summaryText() << '\n';
}
