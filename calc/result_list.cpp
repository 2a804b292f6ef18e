#include "result_list.h"

#include "standard_values.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace tarnel {

ResultList::ResultList(NumberText numbers)
    : numbers_(std::move(numbers)), values_(standardValues().begin(), standardValues().end())
{
    for (const double value : values_)
        valueTexts_.push_back(numbers_.fixed2(value));
}

void ResultList::clear()
{
    chunks_.clear();
    size_ = 0;
    resultCount_ = 0;
    values_.resize(standardValueCount);
    valueTexts_.resize(standardValueCount);
    messages_.clear();
    formatsUsed_ = 0;
    widestValueText_ = 0;
    lowestDeviation_ = 0.0;
    highestDeviation_ = 0.0;
    widestMessage_ = 0;
}

ResultList::Record& ResultList::push()
{
    if (size_ >= capacity_)
        throw std::length_error("The result list cannot take another line.");
    if ((size_ >> chunkBits) == chunks_.size())
        chunks_.push_back(std::make_unique_for_overwrite<Chunk>());
    Record& slot = (*chunks_[size_ >> chunkBits])[size_ & (chunkSize - 1)];
    ++size_;
    return slot;
}

const ResultList::Record& ResultList::record(std::size_t index) const
{
    if (index >= size_)
        throw std::out_of_range("result list line index out of range");
    return (*chunks_[index >> chunkBits])[index & (chunkSize - 1)];
}

std::uint8_t ResultList::valueIndex(double value)
{
    if (const auto standard = standardValueIndex(value))
        return static_cast<std::uint8_t>(*standard);
    const auto extra = std::find(values_.begin() + standardValueCount, values_.end(), value);
    if (extra != values_.end())
        return static_cast<std::uint8_t>(extra - values_.begin());
    if (values_.size() > std::numeric_limits<std::uint8_t>::max())
        throw std::length_error("The result list holds too many different resistor values.");
    values_.push_back(value);
    valueTexts_.push_back(numbers_.fixed2(value));
    return static_cast<std::uint8_t>(values_.size() - 1);
}

void ResultList::addResult(std::size_t formatIndex, std::span<const double> values)
{
    if (formatIndex >= resultFormatCount || values.size() != resistorCountOf(formatIndex) + 1)
        throw std::invalid_argument("result line values do not match the format");
    std::array<std::uint8_t, 4> indices{};
    const std::size_t resistors = values.size() - 1;
    for (std::size_t i = 0; i < resistors; ++i)
        indices[i] = valueIndex(values[i]);
    const double deviation = values[resistors];
    Record& added = push();
    added = Record{deviation, static_cast<std::uint8_t>(formatIndex), indices};
    ++resultCount_;

    if (formatsUsed_ == 0) {
        lowestDeviation_ = deviation;
        highestDeviation_ = deviation;
    }
    formatsUsed_ = static_cast<std::uint16_t>(formatsUsed_ | (1u << formatIndex));
    for (std::size_t i = 0; i < resistors; ++i)
        widestValueText_ = std::max(widestValueText_, valueTexts_[indices[i]].size());
    lowestDeviation_ = std::min(lowestDeviation_, deviation);
    highestDeviation_ = std::max(highestDeviation_, deviation);
}

std::size_t ResultList::widestLineLength() const
{
    std::size_t widest = widestMessage_;
    if (formatsUsed_ == 0)
        return widest;
    // The text of a deviation grows with its magnitude, so one of the two
    // extremes writes the longest.
    const std::size_t deviationText =
        std::max(numbers_.fixed2(lowestDeviation_).size(), numbers_.fixed2(highestDeviation_).size());
    for (std::size_t format = 0; format < resultFormatCount; ++format) {
        if ((formatsUsed_ & (1u << format)) == 0)
            continue;
        const std::size_t resistors = resistorCountOf(format);
        const std::size_t literal = resultFormats[format].size() - 2 * (resistors + 1);
        widest = std::max(widest, literal + resistors * widestValueText_ + deviationText);
    }
    return widest;
}

void ResultList::addMessage(std::string text)
{
    Record& added = push();
    const auto messageIndex = static_cast<std::uint32_t>(messages_.size());
    widestMessage_ = std::max(widestMessage_, text.size());
    messages_.push_back(std::move(text));
    added.deviationPercent = 0.0;
    added.kind = messageKind;
    std::memcpy(added.values.data(), &messageIndex, sizeof messageIndex);
}

bool ResultList::isMessage(std::size_t index) const
{
    return record(index).kind == messageKind;
}

ResultEntry ResultList::entry(std::size_t index) const
{
    const Record& r = record(index);
    if (r.kind == messageKind)
        throw std::invalid_argument("a message line has no result values");
    ResultEntry e;
    e.formatIndex = r.kind;
    e.resistorCount = resistorCountOf(r.kind);
    for (std::size_t i = 0; i < e.resistorCount; ++i)
        e.resistors[i] = values_[r.values[i]];
    e.deviationPercent = r.deviationPercent;
    return e;
}

void ResultList::appendLine(std::size_t index, std::string& out) const
{
    const Record& r = record(index);
    if (r.kind == messageKind) {
        std::uint32_t messageIndex = 0;
        std::memcpy(&messageIndex, r.values.data(), sizeof messageIndex);
        out += messages_[messageIndex];
        return;
    }
    const std::string_view format = resultFormats[r.kind];
    const std::size_t resistors = resistorCountOf(r.kind);
    std::size_t next = 0;
    for (std::size_t pos = 0; pos < format.size(); ++pos) {
        if (format[pos] == '%' && pos + 1 < format.size() && format[pos + 1] == 'f') {
            if (next < resistors)
                out += valueTexts_[r.values[next]];
            else
                numbers_.appendFixed2(out, r.deviationPercent);
            ++next;
            ++pos;
        } else {
            out.push_back(format[pos]);
        }
    }
}

std::string ResultList::line(std::size_t index) const
{
    std::string out;
    appendLine(index, out);
    return out;
}

} // namespace tarnel
