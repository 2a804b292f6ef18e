#include "result_list_view.h"

#include "application.h"
#include "result_list_model.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QStyledItemDelegate>

#include <algorithm>

namespace tarnel {

namespace {

// The list's rows are 15 pixels high at 96 dpi, whatever height the font
// asks for, as in the original list box.
constexpr int itemHeight = 15;

// Rows are as wide as the longest line of the run, so the list scrolls
// sideways instead of cutting a line's deviation off. With uniform sizes the
// view asks this of one row only.
class ResultLineDelegate final : public QStyledItemDelegate {
public:
    ResultLineDelegate(const ResultListModel& lines, QObject* parent) : QStyledItemDelegate(parent), lines_(lines) {}

    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int rowWidth = QStyledItemDelegate::sizeHint(option, index).width();
        const int margins = rowWidth - option.fontMetrics.horizontalAdvance(index.data().toString());
        // Digits are the widest characters of a line, so a run of them bounds its width.
        const QString widest(static_cast<qsizetype>(lines_.widestLineLength()), QLatin1Char('0'));
        return {std::max(rowWidth, option.fontMetrics.horizontalAdvance(widest) + margins), itemHeight};
    }

private:
    const ResultListModel& lines_;
};

// The text goes to the clipboard as the UTF-8 bytes it is, without a UTF-16 copy.
void setClipboardText(const QByteArray& utf8)
{
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/plain;charset=utf-8"), utf8);
    data->setData(QStringLiteral("text/plain"), utf8);
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace

ResultListView::ResultListView(ResultListModel& lines, QWidget* parent)
    : QListView(parent),
      lines_(lines),
      copyAction_(new QAction(tr("Copy"), this)),
      copyAllAction_(new QAction(tr("Copy all"), this)),
      copyTableAction_(new QAction(tr("Copy as table"), this))
{
    // With uniform sizes the view measures one row instead of millions.
    setUniformItemSizes(true);
    setItemDelegate(new ResultLineDelegate(lines_, this));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setModel(&lines_);

    copyAction_->setShortcut(QKeySequence::Copy);
    copyAction_->setShortcutContext(Qt::WidgetShortcut);
    copyAction_->setShortcutVisibleInContextMenu(true);
    connect(copyAction_, &QAction::triggered, this, &ResultListView::copySelection);
    connect(copyAllAction_, &QAction::triggered, this, &ResultListView::copyAll);
    connect(copyTableAction_, &QAction::triggered, this, &ResultListView::copyTable);
    addAction(copyAction_);
    addAction(copyAllAction_);
    addAction(copyTableAction_);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ResultListView::updateActions);
    connect(&lines_, &QAbstractItemModel::modelReset, this, &ResultListView::updateActions);
    updateActions();
}

void ResultListView::copySelection()
{
    reportingFailures([this] {
        if (selectionModel()->hasSelection())
            setClipboardText(lines_.linesText(selectionModel()->selection()));
    });
}

void ResultListView::copyAll()
{
    reportingFailures([this] {
        if (lines_.rowCount() > 0)
            setClipboardText(lines_.allLinesText());
    });
}

void ResultListView::copyTable()
{
    reportingFailures([this] {
        if (selectionModel()->hasSelection())
            setClipboardText(lines_.tableText(selectionModel()->selection()));
    });
}

void ResultListView::updateActions()
{
    copyAction_->setEnabled(selectionModel()->hasSelection());
    copyTableAction_->setEnabled(selectionModel()->hasSelection() && lines_.runParams().has_value());
    copyAllAction_->setEnabled(lines_.rowCount() > 0);
}

} // namespace tarnel
