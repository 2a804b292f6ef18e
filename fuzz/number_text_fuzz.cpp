// The number reader over arbitrary text, with a period, a comma and a
// two-byte separator, and a comma that also reads a period: every number it
// gives is finite and writes back without fault, with the very digits of
// the C library's exact conversion.
#include "text/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
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
        const auto exact = [&](std::chars_format format, int precision) {
            std::array<char, 512> digits{};
            const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), *value == 0.0 ? 0.0 : *value,
                                           format, precision).ptr;
            std::string text(digits.data(), end);
            if (text == "-0.00")
                text.erase(0, 1);
            if (const std::size_t point = text.find('.'); point != std::string::npos)
                text.replace(point, 1, reader.decimalSeparator());
            return text;
        };
        if (reader.fixed2(*value) != exact(std::chars_format::fixed, 2) ||
            reader.plain(*value) != exact(std::chars_format::general, 12))
            std::abort();
    }
    return 0;
}
