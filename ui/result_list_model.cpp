#include "result_list_model.h"

#include <algorithm>
#include <climits>

namespace tarnel {

ResultListModel::ResultListModel(NumberText numbers, QObject* parent)
    : QAbstractListModel(parent), list_(std::move(numbers))
{
}

QModelIndex ResultListModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0 || parent.isValid() || static_cast<std::size_t>(row) >= list_.size())
        return {};
    return createIndex(row, column);
}

int ResultListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
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

QByteArray ResultListModel::linesText(const QItemSelection& selection) const
{
    std::vector<RowRange> ranges;
    ranges.reserve(static_cast<std::size_t>(selection.size()));
    for (const QItemSelectionRange& range : selection) {
        if (range.model() == this && !range.parent().isValid())
            ranges.push_back({range.top(), range.bottom()});
    }
    return rangesText(std::move(ranges));
}

QByteArray ResultListModel::allLinesText() const
{
    if (rowCount() == 0)
        return {};
    return rangesText({{0, rowCount() - 1}});
}

QByteArray ResultListModel::rangesText(std::vector<RowRange> ranges) const
{
    // Ranges of a selection come in click order and may overlap after
    // Ctrl+clicks; each line is copied once and in list order.
    std::sort(ranges.begin(), ranges.end(), [](RowRange a, RowRange b) { return a.first < b.first; });
    std::vector<RowRange> merged;
    qsizetype rows = 0;
    for (RowRange range : ranges) {
        range.last = std::min(range.last, rowCount() - 1);
        if (range.first < 0 || range.last < range.first)
            continue;
        if (!merged.empty() && range.first <= merged.back().last + 1) {
            rows += std::max(0, range.last - merged.back().last);
            merged.back().last = std::max(merged.back().last, range.last);
        } else {
            rows += range.last - range.first + 1;
            merged.push_back(range);
        }
    }
    if (merged.empty())
        return {};

    // Room for the widest line on every row, reserved once: only the pages
    // the text fills become resident, so millions of lines never need a
    // second copy for a reallocation.
    QByteArray out;
    out.reserve(rows * static_cast<qsizetype>(list_.widestLineLength() + 1));
    for (const RowRange& range : merged) {
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

ResultListModel::Reset::Reset(ResultListModel& model) : model_(model)
{
    model_.beginResetModel();
}

ResultListModel::Reset::~Reset()
{
    model_.endResetModel();
}

} // namespace tarnel
