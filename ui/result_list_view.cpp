#include "result_list_view.h"

#include "error_box.h"
#include "result_list_model.h"
#include "result_saving.h"

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <climits>

namespace tarnel {

namespace {

// The list's rows are 15 pixels high at 96 dpi, whatever height the font
// asks for, as in the original list box.
constexpr int itemHeight = 15;

// Rows are as wide as the longest line of the run, so the list scrolls
// sideways instead of cutting a line's deviation off. The view asks this of
// one row only.
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
    : QAbstractItemView(parent),
      lines_(lines),
      copyAction_(new QAction(tr("Copy"), this)),
      copyAllAction_(new QAction(tr("Copy all"), this)),
      copyTableAction_(new QAction(tr("Copy as table"), this)),
      saveAction_(new QAction(tr("Save results…"), this))
{
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
    connect(saveAction_, &QAction::triggered, this, &ResultListView::saveResults);
    addAction(copyAction_);
    addAction(copyAllAction_);
    addAction(copyTableAction_);
    addAction(saveAction_);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ResultListView::updateActions);
    connect(&lines_, &QAbstractItemModel::modelReset, this, &ResultListView::updateActions);
    updateActions();
}

void ResultListView::copySelection()
{
    reportingFailures(this, [this] {
        if (selectionModel()->hasSelection())
            setClipboardText(lines_.linesText(selectionModel()->selection()));
    });
}

void ResultListView::copyAll()
{
    reportingFailures(this, [this] {
        if (lines_.rowCount() > 0)
            setClipboardText(lines_.allLinesText());
    });
}

void ResultListView::copyTable()
{
    reportingFailures(this, [this] {
        if (selectionModel()->hasSelection())
            setClipboardText(lines_.tableText(selectionModel()->selection()));
    });
}

void ResultListView::saveResults()
{
    reportingFailures(this, [this] {
        if (lines_.rowCount() == 0 || !lines_.runParams())
            return;
        QString filter;
        const QString path =
            QFileDialog::getSaveFileName(this, tr("Save results"), saveFolder_, resultFileFilters(), &filter);
        if (path.isEmpty())
            return;
        const ResultFile file = resultFileFor(path, filter);
        saveFolder_ = QFileInfo(file.path).absolutePath();
        const QString error = tarnel::saveResults(file, lines_.list(), *lines_.runParams());
        if (!error.isEmpty())
            QMessageBox::critical(this, QCoreApplication::applicationName(), error);
        else
            emit resultsSaved(tr("Saved %1 lines to %2").arg(lines_.rowCount()).arg(file.path));
    });
}

void ResultListView::updateActions()
{
    copyAction_->setEnabled(selectionModel()->hasSelection());
    copyTableAction_->setEnabled(selectionModel()->hasSelection() && lines_.runParams().has_value());
    copyAllAction_->setEnabled(lines_.rowCount() > 0);
    saveAction_->setEnabled(lines_.rowCount() > 0 && lines_.runParams().has_value());
}

int ResultListView::rowCount() const
{
    return lines_.rowCount();
}

int ResultListView::rowWidth() const
{
    return std::max(linesWidth_, viewport()->width());
}

qint64 ResultListView::rowAt(int y) const
{
    const qint64 height = static_cast<qint64>(y) + verticalOffset();
    return height < 0 ? -1 : height / itemHeight;
}

QRect ResultListView::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != model())
        return {};
    const qint64 top = static_cast<qint64>(index.row()) * itemHeight - verticalOffset();
    // Rows far off the viewport need no exact place, only one outside it.
    const int y = static_cast<int>(std::clamp<qint64>(top, -itemHeight, viewport()->height() + itemHeight));
    return {-horizontalOffset(), y, rowWidth(), itemHeight};
}

void ResultListView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!index.isValid() || index.model() != model())
        return;
    const qint64 top = static_cast<qint64>(index.row()) * itemHeight;
    const int height = viewport()->height();
    qint64 offset = verticalOffset();
    switch (hint) {
    case EnsureVisible:
        if (top < offset)
            offset = top;
        else if (top + itemHeight > offset + height)
            offset = top + itemHeight - height;
        break;
    case PositionAtTop:
        offset = top;
        break;
    case PositionAtBottom:
        offset = top + itemHeight - height;
        break;
    case PositionAtCenter:
        offset = top - (height - itemHeight) / 2;
        break;
    }
    verticalScrollBar()->setValue(static_cast<int>(std::clamp<qint64>(offset, 0, INT_MAX)));
}

QModelIndex ResultListView::indexAt(const QPoint& point) const
{
    const qint64 row = rowAt(point.y());
    if (row < 0 || row >= rowCount() || point.x() + horizontalOffset() >= rowWidth())
        return {};
    return model()->index(static_cast<int>(row), 0, rootIndex());
}

void ResultListView::keyboardSearch(const QString& /*search*/) {}

void ResultListView::reset()
{
    QAbstractItemView::reset();
    updateGeometries();
}

QModelIndex ResultListView::moveCursor(CursorAction action, Qt::KeyboardModifiers /*modifiers*/)
{
    const int rows = rowCount();
    if (rows == 0)
        return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return model()->index(0, 0, rootIndex());
    const int page = std::max(1, viewport()->height() / itemHeight);
    int row = current.row();
    switch (action) {
    case MoveUp:
    case MovePrevious:
        --row;
        break;
    case MoveDown:
    case MoveNext:
        ++row;
        break;
    case MovePageUp:
        row -= page;
        break;
    case MovePageDown:
        row += page;
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = rows - 1;
        break;
    case MoveLeft:
    case MoveRight:
        // One column: sideways is a scroll, not a move.
        horizontalScrollBar()->triggerAction(action == MoveLeft ? QAbstractSlider::SliderSingleStepSub
                                                                : QAbstractSlider::SliderSingleStepAdd);
        break;
    }
    return model()->index(std::clamp(row, 0, rows - 1), 0, rootIndex());
}

int ResultListView::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int ResultListView::verticalOffset() const
{
    return verticalScrollBar()->value();
}

bool ResultListView::isIndexHidden(const QModelIndex& /*index*/) const
{
    return false;
}

void ResultListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    const int rows = rowCount();
    const qint64 first = std::max<qint64>(0, rowAt(std::min(rect.top(), rect.bottom())));
    const qint64 last = std::min<qint64>(rows - 1, rowAt(std::max(rect.top(), rect.bottom())));
    QItemSelection selection;
    if (first <= last)
        selection.select(model()->index(static_cast<int>(first), 0, rootIndex()),
                         model()->index(static_cast<int>(last), 0, rootIndex()));
    selectionModel()->select(selection, command);
}

QRegion ResultListView::visualRegionForSelection(const QItemSelection& selection) const
{
    QRegion region;
    const QRect shown = viewport()->rect();
    for (const QItemSelectionRange& range : selection) {
        const QRect top = visualRect(model()->index(range.top(), 0, rootIndex()));
        const QRect bottom = visualRect(model()->index(range.bottom(), 0, rootIndex()));
        region += top.united(bottom).intersected(shown);
    }
    return region;
}

void ResultListView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    QStyleOptionViewItem base;
    initViewItemOption(&base);
    const qint64 first = std::max<qint64>(0, rowAt(event->rect().top()));
    const qint64 last = std::min<qint64>(rowCount() - 1, rowAt(event->rect().bottom()));
    const QModelIndex current = currentIndex();
    for (qint64 row = first; row <= last; ++row) {
        const QModelIndex index = model()->index(static_cast<int>(row), 0, rootIndex());
        QStyleOptionViewItem option = base;
        option.rect = visualRect(index);
        if (selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (index == current && hasFocus())
            option.state |= QStyle::State_HasFocus;
        itemDelegate()->paint(&painter, option, index);
    }
}

void ResultListView::updateGeometries()
{
    linesWidth_ = 0;
    if (rowCount() > 0) {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        linesWidth_ = itemDelegate()->sizeHint(option, model()->index(0, 0, rootIndex())).width();
    }
    const QSize shown = viewport()->size();
    const qint64 height = static_cast<qint64>(rowCount()) * itemHeight;
    verticalScrollBar()->setSingleStep(itemHeight);
    verticalScrollBar()->setPageStep(shown.height());
    verticalScrollBar()->setRange(0, static_cast<int>(std::clamp<qint64>(height - shown.height(), 0, INT_MAX)));
    horizontalScrollBar()->setSingleStep(itemHeight);
    horizontalScrollBar()->setPageStep(shown.width());
    horizontalScrollBar()->setRange(0, std::max(0, linesWidth_ - shown.width()));
    QAbstractItemView::updateGeometries();
}

} // namespace tarnel
