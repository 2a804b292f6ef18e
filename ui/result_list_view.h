#pragma once

#include <QAbstractItemView>

class QAction;

namespace tarnel {

class ResultListModel;

// The window's result list: rows of one fixed height, several selectable with
// Shift and Ctrl, and copied as plain text with Ctrl+C or the context menu,
// or as a table for a spreadsheet, or saved to a file as the command line
// writes it. Every row has the same height and width,
// so that a row's place is worked out from its number: the view keeps
// nothing a row, and millions of rows are laid out at once.
class ResultListView final : public QAbstractItemView {
    Q_OBJECT

public:
    explicit ResultListView(ResultListModel& lines, QWidget* parent = nullptr);

    void copySelection();
    void copyAll();
    void copyTable();
    // Asks for a file and writes the run's lines there as text, csv or json.
    void saveResults();

    [[nodiscard]] QAction* copyAction() const { return copyAction_; }
    [[nodiscard]] QAction* copyAllAction() const { return copyAllAction_; }
    [[nodiscard]] QAction* copyTableAction() const { return copyTableAction_; }
    [[nodiscard]] QAction* saveAction() const { return saveAction_; }
    // Where the save dialog opens: the folder of the last file saved.
    [[nodiscard]] const QString& saveFolder() const { return saveFolder_; }
    void setSaveFolder(const QString& folder) { saveFolder_ = folder; }

    [[nodiscard]] QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    [[nodiscard]] QModelIndex indexAt(const QPoint& point) const override;
    // Typing in the list would search millions of lines for the text; it
    // does nothing instead.
    void keyboardSearch(const QString& search) override;
    // A new run's rows are placed at once, so that they can be found at once.
    void reset() override;

signals:
    // After a save that wrote the file: "Saved 200 lines to /path/file.csv".
    void resultsSaved(const QString& message);

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    [[nodiscard]] int horizontalOffset() const override;
    [[nodiscard]] int verticalOffset() const override;
    [[nodiscard]] bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    [[nodiscard]] QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void paintEvent(QPaintEvent* event) override;
    void updateGeometries() override;

private:
    void updateActions();
    [[nodiscard]] int rowCount() const;
    // Rows are as wide as the longest line of the run, or the viewport.
    [[nodiscard]] int rowWidth() const;
    // The row at a height in the viewport, which may lie outside the rows.
    [[nodiscard]] qint64 rowAt(int y) const;

    ResultListModel& lines_;
    QAction* copyAction_;
    QAction* copyAllAction_;
    QAction* copyTableAction_;
    QAction* saveAction_;
    QString saveFolder_;
    int linesWidth_ = 0; // of the longest line the model may hold, with the delegate's margins
};

} // namespace tarnel
