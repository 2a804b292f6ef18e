#pragma once

#include "search/divider.h"
#include "text/number_text.h"
#include "search/search_params.h"
#include "values/value_set.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnel {

// One result line: its divider and the deviation of its ratio.
struct ResultEntry {
    Divider divider;
    double deviationPercent = 0.0;
};

// The ordered lines of the result list and the count of result lines.
// Millions of lines are kept in compact records, a divider in 8 bytes; its
// deviation and text are worked out when a line is read, with the search's
// own arithmetic, identical to recording and formatting them eagerly.
class ResultList {
public:
    explicit ResultList(NumberText numbers = NumberText());

    void clear();
    // The run whose lines come: the values its dividers name, and the ratio
    // and window their deviations are measured by. Only while the list is
    // empty; until then E24, and no ratio.
    void setRun(const SearchParams& params);
    [[nodiscard]] const ValueSet& values() const { return *values_; }
    void addResult(const Divider& divider);
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
    // The text a line adds after the described one under the worst-case
    // criterion, before the worst deviation itself.
    static constexpr std::string_view worstMark = "   w ";
    // The recorded divider of a result line (not of a message), with or
    // without its deviation.
    [[nodiscard]] ResultEntry entry(std::size_t index) const;
    [[nodiscard]] Divider divider(std::size_t index) const;
    // The divider of a line, none for a message: one read, for a caller
    // that walks millions of lines of either.
    [[nodiscard]] std::optional<Divider> dividerAt(std::size_t index) const;

    // The most lines the list takes; one more throws std::length_error, as a
    // full list control would. Unlimited unless a caller sets it.
    void setCapacity(std::size_t lines) { capacity_ = lines; }

private:
    // A divider packed, or a message: messageKind for a combination and the
    // message's index above it.
    using Record = std::uint64_t;
    static constexpr std::uint64_t messageKind = (1u << Divider::combinationBits) - 1;
    static constexpr std::size_t chunkBits = 13; // 64 KiB chunks stay below the allocator's mmap threshold
    static constexpr std::size_t chunkSize = std::size_t{1} << chunkBits;
    using Chunk = std::array<Record, chunkSize>;

    Record& push();
    [[nodiscard]] const Record& record(std::size_t index) const;
    [[nodiscard]] double deviationOf(const Divider& divider) const;

    NumberText numbers_;
    // Fixed-size chunks: growing never copies the lines, so a list of
    // millions never holds two copies at once.
    std::vector<std::unique_ptr<Chunk>> chunks_;
    std::size_t size_ = 0;
    std::size_t capacity_ = std::numeric_limits<std::size_t>::max();
    std::int32_t resultCount_ = 0;
    std::shared_ptr<const ValueSet> values_;
    ValueNotation notation_ = ValueNotation::KiloOhms;
    Circuit circuit_;
    double targetRatio_ = 0.0;
    // Where extremes are judged each line adds its worst deviation, by these.
    bool worstOnLine_ = false;
    SearchParams run_;
    std::vector<std::string> valueTexts_; // values_ as the lines write them, in notation_
    std::vector<std::string> messages_;

    // What widestLineLength() is bounded from, kept up to date as lines come.
    std::uint16_t formatsUsed_ = 0; // bit i: format i occurs
    std::size_t widestValueText_ = 0;
    std::size_t widestDeviationText_ = 0; // of the run's window
    std::size_t widestWorstText_ = 0;     // its worst deviation's, with what precedes it
    std::size_t widestMessage_ = 0;
};

} // namespace tarnel
