#include "result_list.h"


#include <algorithm>
#include <stdexcept>

namespace tarnel {

ResultList::ResultList(NumberText numbers) : numbers_(std::move(numbers))
{
    setValues(e24Values());
}

void ResultList::setValues(std::shared_ptr<const ValueSet> values)
{
    if (values == values_)
        return;
    if (size_ > 0)
        throw std::logic_error("the values of a result list change only while it is empty");
    values_ = std::move(values);
    valueTexts_.clear();
    for (const double value : values_->values())
        valueTexts_.push_back(numbers_.fixed2(value));
}

void ResultList::clear()
{
    chunks_.clear();
    size_ = 0;
    resultCount_ = 0;
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

void ResultList::addResult(const Divider& divider, double deviationPercent)
{
    if (divider.combination >= armCombinations.size())
        throw std::invalid_argument("no such arm combination");
    for (const ValueIndex value : divider.values)
        if (value >= valueTexts_.size())
            throw std::invalid_argument("no such value in the list's set");
    push() = Record{deviationPercent, divider.packed()};
    ++resultCount_;

    if (formatsUsed_ == 0) {
        lowestDeviation_ = deviationPercent;
        highestDeviation_ = deviationPercent;
    }
    formatsUsed_ = static_cast<std::uint16_t>(formatsUsed_ | (1u << divider.combination));
    for (const ValueIndex value : divider.values)
        widestValueText_ = std::max(widestValueText_, valueTexts_[value].size());
    lowestDeviation_ = std::min(lowestDeviation_, deviationPercent);
    highestDeviation_ = std::max(highestDeviation_, deviationPercent);
}

void ResultList::addMessage(std::string text)
{
    push() = Record{0.0, messageKind | (std::uint64_t{messages_.size()} << Divider::combinationBits)};
    widestMessage_ = std::max(widestMessage_, text.size());
    messages_.push_back(std::move(text));
}

bool ResultList::isMessage(std::size_t index) const
{
    return (record(index).packed & messageKind) == messageKind;
}

ResultEntry ResultList::entry(std::size_t index) const
{
    if (isMessage(index))
        throw std::invalid_argument("a message line has no divider");
    const Record& r = record(index);
    return {Divider::unpacked(r.packed), r.deviationPercent};
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
    for (const ArmCombination& c : armCombinations) {
        if ((formatsUsed_ & (1u << c.number)) == 0)
            continue;
        const std::size_t resistors = resistorsIn(c.high) + resistorsIn(c.low);
        const std::size_t literal = resultFormats[c.number].size() - 2 * (resistors + 1);
        widest = std::max(widest, literal + resistors * widestValueText_ + deviationText);
    }
    return widest;
}

void ResultList::appendLine(std::size_t index, std::string& out) const
{
    const Record& r = record(index);
    if ((r.packed & messageKind) == messageKind) {
        out += messages_[r.packed >> Divider::combinationBits];
        return;
    }
    const Divider divider = Divider::unpacked(r.packed);
    const Divider::LineValues values = divider.lineValues();
    const std::string_view format = resultFormats[divider.combination];
    std::size_t next = 0;
    for (std::size_t pos = 0; pos < format.size(); ++pos) {
        if (format.substr(pos, 2) != "%f") {
            out.push_back(format[pos]);
            continue;
        }
        if (next < values.count)
            out += valueTexts_[values.values[next++]];
        else
            numbers_.appendFixed2(out, r.deviationPercent);
        ++pos;
    }
}

std::string ResultList::line(std::size_t index) const
{
    std::string out;
    appendLine(index, out);
    return out;
}

} // namespace tarnel
