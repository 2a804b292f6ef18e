// The stock reader over arbitrary text: a stock that reads holds at most the
// allowed number of values, each in range and strictly above the one before;
// one that does not says why.
#include "values/stock_file.h"
#include "values/value_set.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const tarnel::NumberText readers[] = {
        tarnel::NumberText(".", tarnel::NumberText::Period::AlsoAccepted),
        tarnel::NumberText(",", tarnel::NumberText::Period::AlsoAccepted)};
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const tarnel::NumberText& reader : readers) {
        const tarnel::StockReading reading = tarnel::parseStock(text, "fuzz.txt", reader);
        if (!reading.values) {
            if (reading.problem.empty())
                std::abort();
            continue;
        }
        const std::span<const double> values = reading.values->values();
        if (values.empty() || values.size() > tarnel::maxStockValues)
            std::abort();
        for (std::size_t i = 0; i < values.size(); ++i)
            if (!(values[i] >= tarnel::minResistance && values[i] <= tarnel::maxStandardValue) ||
                (i > 0 && !(values[i - 1] < values[i])))
                std::abort();
    }
    return 0;
}
