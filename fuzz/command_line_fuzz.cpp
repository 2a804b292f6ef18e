// The whole command line in process, from arbitrary argument vectors: the
// bytes split at NUL into arguments, the first byte picking the locale's
// separator. It must end with status 0, 1 or 2 and write no message beyond a
// few hundred bytes for each argument; a run that ends with 0 and writes csv
// or json must write rows a reader takes back, each with every column.
#include "command_line.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Checks each line as it comes and keeps none: the output may be gigabytes.
// The first line tells the format: a csv header, json's "[", or text lines.
class OutputChecker final : public std::streambuf {
public:
    // Whether what was written is whole, in the format its first line names.
    [[nodiscard]] bool wellFormed() const
    {
        if (!line_.empty() || broken_)
            return false;
        return format_ != Format::Json || (lines_ >= 2 && lastLine_ == "]");
    }

protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        for (std::streamsize i = 0; i < n; ++i)
            put(s[i]);
        return n;
    }
    int_type overflow(int_type c) override
    {
        if (!traits_type::eq_int_type(c, traits_type::eof()))
            put(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }

private:
    enum class Format { Unknown, Text, Csv, Json };

    void put(char c)
    {
        if (c != '\n') {
            // No line of any format comes near this; a longer one is a fault.
            if (line_.size() < 1 << 16)
                line_.push_back(c);
            else
                broken_ = true;
            return;
        }
        check(line_);
        lastLine_.swap(line_);
        line_.clear();
        ++lines_;
    }

    void check(const std::string& line)
    {
        if (format_ == Format::Unknown) {
            format_ = line == "[" ? Format::Json : line.starts_with("combination,") ? Format::Csv : Format::Text;
            columns_ = format_ == Format::Csv ? std::count(line.begin(), line.end(), ',') + 1 : 0;
            return;
        }
        if (format_ == Format::Csv)
            broken_ |= std::count(line.begin(), line.end(), ',') + 1 != columns_ || line.find('"') != line.npos;
        else if (format_ == Format::Json && line != "]") {
            const std::ptrdiff_t pairs = jsonRowPairs(line.ends_with(",") ? line.substr(0, line.size() - 1) : line);
            broken_ |= pairs <= 0 || (columns_ > 1 && pairs != columns_);
            columns_ = pairs;
        }
    }

    // The pairs of a flat json object of strings, numbers and nulls; 0 when it is none.
    static std::ptrdiff_t jsonRowPairs(std::string_view row)
    {
        const auto string = [&](std::size_t at) -> std::size_t { // past the closing quote, or npos
            if (at >= row.size() || row[at] != '"')
                return std::string_view::npos;
            for (std::size_t i = at + 1; i < row.size(); ++i) {
                if (row[i] == '\\')
                    ++i;
                else if (row[i] == '"')
                    return i + 1;
            }
            return std::string_view::npos;
        };
        if (!row.starts_with('{'))
            return 0;
        std::ptrdiff_t pairs = 0;
        for (std::size_t at = 1;; ++pairs) {
            at = string(at);
            if (at == std::string_view::npos || at >= row.size() || row[at] != ':')
                return 0;
            ++at;
            if (row.substr(at).starts_with("null")) {
                at += 4;
            } else if (at < row.size() && row[at] == '"') {
                at = string(at);
            } else {
                double number = 0;
                const auto read = std::from_chars(row.data() + at, row.data() + row.size(), number);
                at = read.ec == std::errc() ? static_cast<std::size_t>(read.ptr - row.data()) : std::string_view::npos;
            }
            if (at == std::string_view::npos || at >= row.size())
                return 0;
            if (row[at] == '}')
                return at + 1 == row.size() ? pairs + 1 : 0;
            if (row[at++] != ',')
                return 0;
        }
    }

    Format format_ = Format::Unknown;
    std::ptrdiff_t columns_ = 0;
    std::string line_;
    std::string lastLine_;
    std::size_t lines_ = 0;
    bool broken_ = false;
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
    OutputChecker checker;
    std::ostream out(&checker);
    std::ostringstream err;
    const int status = tarnel::cli::run(args, out, err, separator);
    if (status < 0 || status > 2 || err.str().size() > 400 * (args.size() + 1))
        std::abort();
    if (status == 0 && !checker.wellFormed())
        std::abort();
    return 0;
}
