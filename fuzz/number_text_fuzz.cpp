// The number reader over arbitrary text, with a period, a comma and a
// two-byte separator, and a comma that also reads a period: every number it
// gives is finite and writes back without fault.
#include "number_text.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const tarnel::NumberText readers[] = {
        tarnel::NumberText("."), tarnel::NumberText(","), tarnel::NumberText("\xd9\xab"),
        tarnel::NumberText(",", tarnel::NumberText::Period::AlsoAccepted)};
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const tarnel::NumberText& reader : readers) {
        const std::optional<double> value = reader.parse(text);
        if (!value)
            continue;
        if (!std::isfinite(*value))
            std::abort();
        // The written value reads back within a hundredth.
        const std::optional<double> back = reader.parse(reader.fixed2(*value));
        if (!back || std::fabs(*back - *value) > 0.005 * (1 + 1e-12 * std::fabs(*value)) + 1e-300)
            std::abort();
    }
    return 0;
}
