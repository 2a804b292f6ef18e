#pragma once

#include "result_list.h"

#include <QAbstractListModel>
#include <QByteArray>
#include <QItemSelection>
#include <QString>

#include <string>
#include <vector>

namespace tarnel {

// The result list as a Qt model. It owns the calculation's list, so that the
// list lives exactly as long as the views that show it; rows are read on
// demand, so a run of millions of lines costs the view nothing until they
// scroll into sight.
class ResultListModel final : public QAbstractListModel {
    Q_OBJECT

public:
    explicit ResultListModel(NumberText numbers, QObject* parent = nullptr);

    [[nodiscard]] ResultList& list() { return list_; }

    // The view asks for every row's index while it lays out a run; this one
    // skips the generic checks through rowCount and columnCount.
    [[nodiscard]] QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    [[nodiscard]] QString lineText(int row) const;
    // No line of the list is longer, in characters.
    [[nodiscard]] std::size_t widestLineLength() const { return list_.widestLineLength(); }
    // The selected lines in list order, one a line, whatever order they were
    // selected in, as UTF-8: half the memory of a QString for millions of lines.
    [[nodiscard]] QByteArray linesText(const QItemSelection& selection) const;
    [[nodiscard]] QByteArray allLinesText() const;

    // Brackets a change of the underlying list: views forget every row when
    // it starts and read the list afresh when it ends, also when the change
    // throws half-way.
    class Reset {
    public:
        explicit Reset(ResultListModel& model);
        ~Reset();
        Reset(const Reset&) = delete;
        Reset& operator=(const Reset&) = delete;

    private:
        ResultListModel& model_;
    };

private:
    struct RowRange {
        int first;
        int last;
    };
    [[nodiscard]] QByteArray rangesText(std::vector<RowRange> ranges) const;

    ResultList list_;
    // Reused for every line read, so that reading a row allocates only the
    // text it returns.
    mutable std::string buffer_;
};

} // namespace tarnel
