#include "round_trip_number.h"

#include <charconv>
#include <system_error>

namespace tarnel::cli {

void appendRoundTrip(std::string& out, double value)
{
    char buffer[512]; // room for any finite double in fixed notation
    std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (written.ec != std::errc())
        written = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, written.ptr);
}

std::string roundTrip(double value)
{
    std::string out;
    appendRoundTrip(out, value);
    return out;
}

} // namespace tarnel::cli
