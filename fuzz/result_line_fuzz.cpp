// The result line over arbitrary dividers and deviations: a divider that is
// no divider is refused, any other is written without fault, in the shape of
// its format.
#include "result_list.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static tarnel::ResultList point;
    static tarnel::ResultList comma{tarnel::NumberText(",")};
    tarnel::Divider divider;
    double deviation = 0.0;
    if (size < 1 + sizeof divider.values + sizeof deviation)
        return 0;
    divider.combination = data[0];
    std::memcpy(divider.values.data(), data + 1, sizeof divider.values);
    std::memcpy(&deviation, data + 1 + sizeof divider.values, sizeof deviation);
    for (tarnel::ResultList* list : {&point, &comma}) {
        list->clear();
        try {
            list->addResult(divider, deviation);
        } catch (const std::invalid_argument&) {
            continue;
        }
        const std::string line = list->line(0);
        if (line.size() > list->widestLineLength() || line.find("   /  ") == std::string::npos ||
            line.find("   d ") == std::string::npos)
            std::abort();
    }
    return 0;
}
