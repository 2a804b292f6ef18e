#pragma once

#include "divider.h"
#include "number_text.h"
#include "value_set.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace tarnel {

// One result line as the search recorded it.
struct ResultEntry {
    Divider divider;
    double deviationPercent = 0.0;
};

// The ordered lines of the result list and the count of result lines.
// Millions of lines are kept in compact records (16 bytes each) and their
// text is built when a line is read, identical to formatting it eagerly.
class ResultList {
public:
    explicit ResultList(NumberText numbers = NumberText());

    void clear();
    // The values the dividers of the lines to come name; E24 until told.
    void setValues(std::shared_ptr<const ValueSet> values);
    [[nodiscard]] const ValueSet& values() const { return *values_; }
    void addResult(const Divider& divider, double deviationPercent);
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
    // The recorded divider of a result line (not of a message).
    [[nodiscard]] ResultEntry entry(std::size_t index) const;

    // The most lines the list takes; one more throws std::length_error, as a
    // full list control would. Unlimited unless a caller sets it.
    void setCapacity(std::size_t lines) { capacity_ = lines; }

private:
    // A divider packed, or a message: messageKind for a combination and the
    // message's index above it.
    struct Record {
        double deviationPercent;
        std::uint64_t packed;
    };
    static constexpr std::uint64_t messageKind = (1u << Divider::combinationBits) - 1;
    static constexpr std::size_t chunkBits = 12; // 64 KiB chunks stay below the allocator's mmap threshold
    static constexpr std::size_t chunkSize = std::size_t{1} << chunkBits;
    using Chunk = std::array<Record, chunkSize>;

    Record& push();
    [[nodiscard]] const Record& record(std::size_t index) const;

    NumberText numbers_;
    // Fixed-size chunks: growing never copies the lines, so a list of
    // millions never holds two copies at once.
    std::vector<std::unique_ptr<Chunk>> chunks_;
    std::size_t size_ = 0;
    std::size_t capacity_ = std::numeric_limits<std::size_t>::max();
    std::int32_t resultCount_ = 0;
    std::shared_ptr<const ValueSet> values_;
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
