#pragma once

#include "text/number_text.h"
#include "values/value_set.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tarnel {

// A user's own stock: one value a line, '#' starting a comment. Values
// outside the fields' range are counted but not tried.
struct StockReading {
    std::shared_ptr<const ValueSet> values; // none when the stock would not read
    std::string problem;                    // why not, with the line number where there is one
    bool fileUnread = false;                // the file could not be read at all, whatever it holds
    int systemError = 0;                    // the system's error number, when it refused the file
};

inline constexpr std::size_t maxStockValues = 10'000;
inline constexpr std::size_t maxStockFileBytes = 4 << 20;

// The stock written in text, named name.
[[nodiscard]] StockReading parseStock(std::string_view text, std::string name, const NumberText& numbers);

// The stock in the file at path, named by the file's name.
[[nodiscard]] StockReading readStockFile(const std::string& path, const NumberText& numbers);

} // namespace tarnel
