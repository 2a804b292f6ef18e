#include "result_list_model.h"

#include "request/divider_details.h"
#include "request/result_table.h"

#include <algorithm>
#include <climits>
#include <stdexcept>

namespace tarnel {

ResultListModel::ResultListModel(NumberText numbers, QObject* parent)
    : QAbstractListModel(parent), list_(std::move(numbers))
{
}

QModelIndex ResultListModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0 || parent.isValid() || row >= rowCount())
        return {};
    return createIndex(row, column);
}

int ResultListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || listLent_)
        return 0;
    // A list past INT_MAX lines cannot be held in memory anyway; the clamp
    // only keeps the conversion defined.
    return static_cast<int>(std::min<std::size_t>(list_.size(), INT_MAX));
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole
        || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    return lineText(index.row());
}

QString ResultListModel::lineText(int row) const
{
    buffer_.clear();
    list_.appendLine(static_cast<std::size_t>(row), buffer_);
    return QString::fromUtf8(buffer_.data(), static_cast<qsizetype>(buffer_.size()));
}

std::vector<ResultListModel::RowRange> ResultListModel::rangesOf(const QItemSelection& selection) const
{
    std::vector<RowRange> ranges;
    ranges.reserve(static_cast<std::size_t>(selection.size()));
    for (const QItemSelectionRange& range : selection) {
        if (range.model() == this && !range.parent().isValid())
            ranges.push_back({range.top(), range.bottom()});
    }
    return ranges;
}

std::vector<ResultListModel::RowRange> ResultListModel::merged(std::vector<RowRange> ranges, int rowCount,
                                                               qsizetype& rows)
{
    // Ranges of a selection come in click order and may overlap after
    // Ctrl+clicks; each line is copied once and in list order.
    std::sort(ranges.begin(), ranges.end(), [](RowRange a, RowRange b) { return a.first < b.first; });
    std::vector<RowRange> result;
    rows = 0;
    for (RowRange range : ranges) {
        range.last = std::min(range.last, rowCount - 1);
        if (range.first < 0 || range.last < range.first)
            continue;
        if (!result.empty() && range.first <= result.back().last + 1) {
            rows += std::max(0, range.last - result.back().last);
            result.back().last = std::max(result.back().last, range.last);
        } else {
            rows += range.last - range.first + 1;
            result.push_back(range);
        }
    }
    return result;
}

QByteArray ResultListModel::linesText(const QItemSelection& selection) const
{
    return rangesText(rangesOf(selection));
}

QByteArray ResultListModel::allLinesText() const
{
    return rangesText({{0, rowCount() - 1}});
}

QByteArray ResultListModel::rangesText(const std::vector<RowRange>& ranges) const
{
    qsizetype rows = 0;
    const std::vector<RowRange> lines = merged(ranges, rowCount(), rows);
    // Room for the widest line on every row, reserved once: only the pages
    // the text fills become resident, so millions of lines never need a
    // second copy for a reallocation.
    QByteArray out;
    out.reserve(rows * static_cast<qsizetype>(list_.widestLineLength() + 1));
    for (const RowRange& range : lines) {
        for (int row = range.first; row <= range.last; ++row) {
            if (!out.isEmpty())
                out.append('\n');
            buffer_.clear();
            list_.appendLine(static_cast<std::size_t>(row), buffer_);
            out.append(buffer_.data(), static_cast<qsizetype>(buffer_.size()));
        }
    }
    return out;
}

QByteArray ResultListModel::tableText(const QItemSelection& selection) const
{
    qsizetype rows = 0;
    const std::vector<RowRange> lines = merged(rangesOf(selection), rowCount(), rows);
    if (rows > tableRowLimit)
        throw std::length_error("Copy as table takes at most " + list_.numbers().grouped(tableRowLimit) +
                                " lines; select fewer.");
    QByteArray table;
    // As for lines: reserved room that only the written part makes resident.
    constexpr qsizetype widestRow = 400;
    table.reserve((rows + 1) * widestRow);
    buffer_.clear();
    appendTableHeader(buffer_, '\t');
    table.append(buffer_.data(), static_cast<qsizetype>(buffer_.size()));
    if (!runParams_)
        return table;
    const WrittenValues written(list_.values(), list_.numbers());
    for (const RowRange& range : lines) {
        for (int row = range.first; row <= range.last; ++row) {
            if (list_.isMessage(static_cast<std::size_t>(row)))
                continue;
            buffer_.clear();
            appendTableRow(buffer_, resultRow(list_.divider(static_cast<std::size_t>(row)), *runParams_, written), '\t',
                           list_.numbers());
            table.append(buffer_.data(), static_cast<qsizetype>(buffer_.size()));
        }
    }
    return table;
}

QString ResultListModel::detailsText(int row) const
{
    if (!runParams_ || row < 0 || row >= rowCount() || list_.isMessage(static_cast<std::size_t>(row)))
        return {};
    const std::string text =
        tarnel::detailsText(list_.divider(static_cast<std::size_t>(row)), *runParams_, list_.numbers());
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<DividerSchematic> ResultListModel::schematic(int row) const
{
    if (!runParams_ || row < 0 || row >= rowCount() || list_.isMessage(static_cast<std::size_t>(row)))
        return std::nullopt;
    return dividerSchematic(list_.divider(static_cast<std::size_t>(row)), *runParams_, list_.numbers());
}

ResultListModel::Reset::Reset(ResultListModel& model) : model_(model)
{
    model_.beginResetModel();
}

ResultListModel::Reset::~Reset()
{
    model_.endResetModel();
}

} // namespace tarnel
