// A regulator's feedback divider to a guarantee: 0.8 V reference within 1 %,
// 1.8 V out within 3 %, E96 parts of 1 %, judged at every corner of the
// tolerances. Prints each divider's regulated output and its band.
#include <tarnel/tarnel.h>

#include <iostream>

int main()
{
    tarnel::SearchParams request;
    request.use = tarnel::DividerUse::Feedback;
    request.uin = 1.8; // the output to reach
    request.uout = 0.8; // the reference
    request.tolerance = 0.03;
    request.criterion = tarnel::Criterion::WorstCase;
    request.partTolerance = 0.01;
    request.sourceTolerance = 0.01;
    request.values = tarnel::seriesValues("E96");
    request.highShapes = request.lowShapes = tarnel::ArmShapes::every();
    request.order = tarnel::ListOrder::BestFirst;
    request.maxResults = 5;

    const tarnel::SearchResult result = tarnel::search(request);
    for (std::size_t i = 0; i < result.size(); ++i) {
        const tarnel::DividerDetails d = result.details(i);
        std::cout << result.list.line(i) << "   " << d.output << " V, " << d.outputLow << " to " << d.outputHigh
                  << " V\n";
    }
    std::cout << result.summaryText() << '\n';
}
