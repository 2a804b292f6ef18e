#pragma once

#include <QListView>

class QAction;

namespace tarnel {

class ResultListModel;

// The window's result list: rows of one fixed height, several selectable with
// Shift and Ctrl, and copied as plain text with Ctrl+C or the context menu,
// or as a table for a spreadsheet.
class ResultListView final : public QListView {
    Q_OBJECT

public:
    explicit ResultListView(ResultListModel& lines, QWidget* parent = nullptr);

    void copySelection();
    void copyAll();
    void copyTable();

    [[nodiscard]] QAction* copyAction() const { return copyAction_; }
    [[nodiscard]] QAction* copyAllAction() const { return copyAllAction_; }
    [[nodiscard]] QAction* copyTableAction() const { return copyTableAction_; }

private:
    void updateActions();

    ResultListModel& lines_;
    QAction* copyAction_;
    QAction* copyAllAction_;
    QAction* copyTableAction_;
};

} // namespace tarnel
