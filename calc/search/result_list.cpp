#include "search/result_list.h"

#include "search/guarantee.h"
#include "text/resistance_text.h"

#include <algorithm>
#include <stdexcept>

namespace tarnel {

ResultList::ResultList(NumberText numbers) : numbers_(std::move(numbers))
{
    setRun(SearchParams());
}

void ResultList::setRun(const SearchParams& params)
{
    if (size_ > 0)
        throw std::logic_error("the run of a result list changes only while it is empty");
    circuit_ = Circuit(params);
    targetRatio_ = params.ratio();
    // No deviation lies beyond the window's by more than a decimal bound
    // widens it, so none writes wider than these.
    widestDeviationText_ = 0;
    for (const double end : {params.ratioLow(), params.ratioHigh()}) {
        const double deviation = deviationPercent(end, targetRatio_);
        for (const double widened : {deviation, deviation * (1 + 1e-6)})
            widestDeviationText_ = std::max(widestDeviationText_, numbers_.fixed2(widened).size());
    }
    // With exact parts and source the worst deviation is the size of d, and
    // the worst-case lines stay those of the nominal criterion.
    worstOnLine_ = judgesExtremes(params);
    run_ = params;
    widestWorstText_ = 0;
    if (worstOnLine_)
        for (const double widened : {1.0, 1 + 1e-6})
            widestWorstText_ = std::max(widestWorstText_,
                                        worstMark.size() + numbers_.fixed2(largestKeptDeviation(params) * widened).size());
    if (params.values == values_ && params.notation == notation_)
        return;
    values_ = params.values;
    notation_ = params.notation;
    valueTexts_.clear();
    for (const double value : values_->values()) {
        std::string& text = valueTexts_.emplace_back();
        if (notation_ == ValueNotation::Marked)
            appendMarkedValue(text, value);
        else
            appendLineValue(text, value, numbers_);
    }
}

void ResultList::clear()
{
    chunks_.clear();
    size_ = 0;
    resultCount_ = 0;
    messages_.clear();
    formatsUsed_ = 0;
    widestValueText_ = 0;
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

void ResultList::addResult(const Divider& divider)
{
    if (divider.combination >= armCombinations.size())
        throw std::invalid_argument("no such arm combination");
    for (const ValueIndex value : divider.values)
        if (value >= valueTexts_.size())
            throw std::invalid_argument("no such value in the list's set");
    push() = divider.packed();
    ++resultCount_;
    formatsUsed_ = static_cast<std::uint16_t>(formatsUsed_ | (1u << divider.combination));
    for (const ValueIndex value : divider.values)
        widestValueText_ = std::max(widestValueText_, valueTexts_[value].size());
}

double ResultList::deviationOf(const Divider& divider) const
{
    return deviationPercent(dividerFigures(divider, circuit_, *values_).ratio, targetRatio_);
}

void ResultList::addMessage(std::string text)
{
    push() = messageKind | (std::uint64_t{messages_.size()} << Divider::combinationBits);
    widestMessage_ = std::max(widestMessage_, text.size());
    messages_.push_back(std::move(text));
}

bool ResultList::isMessage(std::size_t index) const
{
    return (record(index) & messageKind) == messageKind;
}

ResultEntry ResultList::entry(std::size_t index) const
{
    const Divider found = divider(index);
    return {found, deviationOf(found)};
}

Divider ResultList::divider(std::size_t index) const
{
    if (isMessage(index))
        throw std::invalid_argument("a message line has no divider");
    return Divider::unpacked(record(index));
}

std::optional<Divider> ResultList::dividerAt(std::size_t index) const
{
    const Record r = record(index);
    if ((r & messageKind) == messageKind)
        return std::nullopt;
    return Divider::unpacked(r);
}

std::size_t ResultList::widestLineLength() const
{
    std::size_t widest = widestMessage_;
    if (formatsUsed_ == 0)
        return widest;
    for (const ArmCombination& c : armCombinations) {
        if ((formatsUsed_ & (1u << c.number)) == 0)
            continue;
        const std::size_t resistors = resistorsIn(c.high) + resistorsIn(c.low);
        const std::size_t literal = resultFormats[c.number].size() - 2 * (resistors + 1);
        widest = std::max(widest, literal + resistors * widestValueText_ + widestDeviationText_ + widestWorstText_);
    }
    return widest;
}

void ResultList::appendLine(std::size_t index, std::string& out) const
{
    const Record r = record(index);
    if ((r & messageKind) == messageKind) {
        out += messages_[r >> Divider::combinationBits];
        return;
    }
    const Divider divider = Divider::unpacked(r);
    const Divider::LineValues values = divider.lineValues();
    std::string_view format = resultFormats[divider.combination];
    // The text between the "%f"s as it stands, each "%f" a value, the last the deviation.
    for (std::size_t next = 0;; ++next) {
        const std::size_t field = format.find("%f");
        out.append(format.substr(0, field));
        if (field == std::string_view::npos)
            break;
        if (next < values.count)
            out.append(valueTexts_[values.values[next]]);
        else
            numbers_.appendFixed2(out, deviationOf(divider));
        format.remove_prefix(field + 2);
    }
    if (worstOnLine_) {
        out.append(worstMark);
        const DividerFigures figures = dividerFigures(divider, circuit_, *values_);
        numbers_.appendFixed2(out, worstDeviation(figures.high, figures.low, run_));
    }
}

std::string ResultList::line(std::size_t index) const
{
    std::string out;
    appendLine(index, out);
    return out;
}

} // namespace tarnel
