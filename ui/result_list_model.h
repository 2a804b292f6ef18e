#pragma once

#include "request/divider_details.h"
#include "search/result_list.h"
#include "search/search_params.h"

#include <QAbstractListModel>
#include <QByteArray>
#include <QItemSelection>
#include <QString>

#include <optional>
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
    [[nodiscard]] const ResultList& list() const { return list_; }
    // While a search fills the list on another thread, the model shows no
    // rows and reads nothing of it; change it within a Reset.
    void setListLent(bool lent) { listLent_ = lent; }

    // The parameters of the run whose lines the list holds, for what each
    // divider delivers; none while the list holds no run's lines.
    void setRunParams(std::optional<SearchParams> params) { runParams_ = std::move(params); }
    [[nodiscard]] const std::optional<SearchParams>& runParams() const { return runParams_; }

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
    // The selected result lines as a table: a header row, then a row a line
    // with the columns of the command line's csv, apart by tabs.
    [[nodiscard]] QByteArray tableText(const QItemSelection& selection) const;
    // What the divider of a result line delivers, in a few lines; empty for any other row.
    [[nodiscard]] QString detailsText(int row) const;
    // The divider of a result line as a schematic draws it; none for any other row.
    [[nodiscard]] std::optional<DividerSchematic> schematic(int row) const;

    // Copy as table takes at most this many lines: a row is some 200 bytes.
    static constexpr int tableRowLimit = 1'000'000;

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
    // The rows of the ranges in list order, each once, and how many.
    [[nodiscard]] static std::vector<RowRange> merged(std::vector<RowRange> ranges, int rowCount, qsizetype& rows);
    [[nodiscard]] std::vector<RowRange> rangesOf(const QItemSelection& selection) const;
    [[nodiscard]] QByteArray rangesText(const std::vector<RowRange>& ranges) const;

    ResultList list_;
    bool listLent_ = false;
    std::optional<SearchParams> runParams_;
    // Reused for every line read, so that reading a row allocates only the
    // text it returns.
    mutable std::string buffer_;
};

} // namespace tarnel
