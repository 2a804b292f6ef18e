#pragma once

#include "number_text.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarnel {

inline constexpr std::size_t resultFormatCount = 9;

// One format per arm combination, indexed like the combinations.
inline constexpr std::array<std::string_view, resultFormatCount> resultFormats{
    "%f   /  %f   d %f",
    "%f + %f   /  %f   d %f",
    "%f || %f   /  %f   d %f",
    "%f   /  %f + %f   d %f",
    "%f   /  %f || %f   d %f",
    "%f + %f   /  %f + %f   d %f",
    "%f || %f   /  %f || %f   d %f",
    "%f + %f   /  %f || %f   d %f",
    "%f || %f   /  %f + %f   d %f",
};

// Resistor values a line of each format shows: its "%f"s less the deviation.
inline constexpr std::array<std::size_t, resultFormatCount> resistorCounts = [] {
    std::array<std::size_t, resultFormatCount> counts{};
    for (std::size_t f = 0; f < resultFormatCount; ++f) {
        const std::string_view format = resultFormats[f];
        for (std::size_t pos = format.find("%f"); pos != std::string_view::npos; pos = format.find("%f", pos + 2))
            ++counts[f];
        --counts[f];
    }
    return counts;
}();

[[nodiscard]] constexpr std::size_t resistorCountOf(std::size_t formatIndex) { return resistorCounts[formatIndex]; }

// One result line as the search recorded it.
struct ResultEntry {
    std::size_t formatIndex = 0;
    std::size_t resistorCount = 0;
    std::array<double, 4> resistors{};
    double deviationPercent = 0.0;
};

// The ordered lines of the result list and the count of result lines.
// Millions of lines are kept in compact records (16 bytes each) and their
// text is built when a line is read, identical to formatting it eagerly.
class ResultList {
public:
    explicit ResultList(NumberText numbers = NumberText());

    void clear();
    // values: the line's resistor values, then the deviation in percent.
    void addResult(std::size_t formatIndex, std::span<const double> values);
    void addResult(std::size_t formatIndex, std::initializer_list<double> values)
    {
        addResult(formatIndex, std::span<const double>(values.begin(), values.size()));
    }
    void addMessage(std::string text);

    [[nodiscard]] const NumberText& numbers() const { return numbers_; }
    [[nodiscard]] std::int32_t resultCount() const { return resultCount_; }
    [[nodiscard]] std::size_t size() const { return size_; }

    [[nodiscard]] std::string line(std::size_t index) const;
    // Appends line(index) to out, so that a caller can reuse one buffer.
    void appendLine(std::size_t index, std::string& out) const;
    [[nodiscard]] bool isMessage(std::size_t index) const;
    // At least the length of the longest line, in bytes, reckoning every value
    // as wide as the widest: a view sizes its rows by it without reading every line.
    [[nodiscard]] std::size_t widestLineLength() const;
    // The recorded values of a result line (not of a message).
    [[nodiscard]] ResultEntry entry(std::size_t index) const;

    // The most lines the list takes; one more throws std::length_error, as a
    // full list control would. Unlimited unless a caller sets it.
    void setCapacity(std::size_t lines) { capacity_ = lines; }

private:
    struct Record {
        double deviationPercent;
        std::uint8_t kind; // a format index, or messageKind
        std::array<std::uint8_t, 4> values; // indices into values_, or a message index
    };
    static constexpr std::uint8_t messageKind = 0xFF;
    static constexpr std::size_t chunkBits = 12; // 64 KiB chunks stay below the allocator's mmap threshold
    static constexpr std::size_t chunkSize = std::size_t{1} << chunkBits;
    using Chunk = std::array<Record, chunkSize>;

    Record& push();
    [[nodiscard]] const Record& record(std::size_t index) const;
    std::uint8_t valueIndex(double value);

    NumberText numbers_;
    // Fixed-size chunks: growing never copies the lines, so a list of
    // millions never holds two copies at once.
    std::vector<std::unique_ptr<Chunk>> chunks_;
    std::size_t size_ = 0;
    std::size_t capacity_ = std::numeric_limits<std::size_t>::max();
    std::int32_t resultCount_ = 0;
    // The standard values first, so that lookups need no table of their own;
    // any other value is added behind them.
    std::vector<double> values_;
    std::vector<std::string> valueTexts_; // values_ as "%f" writes them
    std::vector<std::string> messages_;

    // What widestLineLength() is bounded from, kept up to date as lines come.
    std::uint16_t formatsUsed_ = 0; // bit i: format i occurs
    std::size_t widestValueText_ = 0;
    double lowestDeviation_ = 0.0;
    double highestDeviation_ = 0.0;
    std::size_t widestMessage_ = 0;
};

} // namespace tarnel
