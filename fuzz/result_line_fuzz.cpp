// The result line over arbitrary dividers of a run with an arbitrary ratio:
// a divider that is no divider is refused, any other is written without
// fault, in the shape of its format and no longer than the list's widest,
// and no resistor of it reads as nothing.
#include "search/divider.h"
#include "search/result_list.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static tarnel::ResultList point;
    static tarnel::ResultList comma{tarnel::NumberText(",")};
    tarnel::Divider divider;
    double ratio = 0.0;
    if (size < 2 + sizeof divider.values + sizeof ratio)
        return 0;
    divider.combination = data[0];
    tarnel::SearchParams run;
    run.ratioOffset = data[1] % 2;
    std::memcpy(divider.values.data(), data + 2, sizeof divider.values);
    std::memcpy(&ratio, data + 2 + sizeof divider.values, sizeof ratio);
    if (!(std::isfinite(ratio) && ratio > 0.0))
        return 0;
    run.uin = ratio;
    run.uout = 1.0;
    for (tarnel::ResultList* list : {&point, &comma}) {
        list->clear();
        bool known = divider.combination < tarnel::armCombinations.size();
        for (const tarnel::ValueIndex value : divider.values)
            known = known && value < list->values().size();
        // The run's window holds the divider, as every line of a run's does.
        if (known)
            run.tolerance =
                std::fabs(tarnel::dividerFigures(divider, tarnel::Circuit(run), list->values()).ratio / ratio - 1.0);
        list->setRun(run);
        try {
            list->addResult(divider);
        } catch (const std::invalid_argument&) {
            if (known)
                std::abort();
            continue;
        }
        const std::string line = list->line(0);
        if (line.size() > list->widestLineLength() || line.find("   /  ") == std::string::npos ||
            line.find("   d ") == std::string::npos)
            std::abort();
        const std::string zero = " 0" + list->numbers().decimalSeparator() + "00 ";
        if ((" " + line).find(zero) != std::string::npos)
            std::abort();
    }
    return 0;
}
