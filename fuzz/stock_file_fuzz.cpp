// The stock reader over arbitrary text: a stock that reads holds at most the
// allowed number of values, each in range and strictly above the one before;
// one that does not says why, in valid UTF-8, and names the line where the
// values grow too many. Read from a file, the text gives the same.
#include "values/stock_file.h"
#include "values/value_set.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace {

bool validUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto byte = static_cast<unsigned char>(text[i + k]);
            if ((byte & 0xC0) != 0x80)
                return false;
            point = point << 6 | (byte & 0x3F);
        }
        constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (point < smallest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const tarnel::NumberText readers[] = {
        tarnel::NumberText(".", tarnel::NumberText::Period::AlsoAccepted),
        tarnel::NumberText(",", tarnel::NumberText::Period::AlsoAccepted)};
    static const std::string path = "/tmp/tarnel-stock-fuzz-" + std::to_string(::getpid()) + ".txt";
    if (size > tarnel::maxStockFileBytes)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(text.data(), static_cast<std::streamsize>(size));
    for (const tarnel::NumberText& reader : readers) {
        const tarnel::StockReading reading = tarnel::parseStock(text, path.substr(path.rfind('/') + 1), reader);
        const tarnel::StockReading fromFile = tarnel::readStockFile(path, reader);
        if (fromFile.problem != reading.problem || (fromFile.values == nullptr) != (reading.values == nullptr))
            std::abort();
        if (!reading.values) {
            if (reading.problem.empty() || !validUtf8(reading.problem) ||
                (reading.problem.ends_with("more than 10,000 values") && !reading.problem.starts_with("line ")))
                std::abort();
            continue;
        }
        const std::span<const double> values = reading.values->values();
        if (values.empty() || values.size() > tarnel::maxStockValues)
            std::abort();
        for (std::size_t i = 0; i < values.size(); ++i)
            if (!(values[i] >= tarnel::minResistance && values[i] <= tarnel::maxStandardValue) ||
                (i > 0 && !(values[i - 1] < values[i])) || values[i] != fromFile.values->values()[i])
                std::abort();
    }
    return 0;
}
