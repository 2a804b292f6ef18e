// The whole command line in process, from arbitrary argument vectors: the
// bytes split at NUL into arguments, the first byte picking the locale's
// separator. It must end with status 0, 1 or 2 and write no message beyond a
// few hundred bytes for each argument.
#include "command_line.h"

#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

// Counts what is written and keeps nothing.
class NullSink final : public std::streambuf {
protected:
    std::streamsize xsputn(const char* /*s*/, std::streamsize n) override { return n; }
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string separator = data[0] % 2 == 0 ? "." : ",";
    std::vector<std::string> args(1);
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back().push_back(static_cast<char>(data[i]));
    }
    NullSink sink;
    std::ostream out(&sink);
    std::ostringstream err;
    const int status = tarnel::cli::run(args, out, err, separator);
    if (status < 0 || status > 2 || err.str().size() > 400 * (args.size() + 1))
        std::abort();
    return 0;
}
