#include "result_list_view.h"

#include "result_list_model.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace tarnel {

namespace {

// The list's rows are 15 pixels high at 96 dpi, whatever height the font
// asks for, as in the original list box.
constexpr int itemHeight = 15;

class FixedHeightDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), itemHeight};
    }
};

void setClipboardText(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

} // namespace

ResultListView::ResultListView(ResultListModel& lines, QWidget* parent)
    : QListView(parent),
      lines_(lines),
      copyAction_(new QAction(tr("Copy"), this)),
      copyAllAction_(new QAction(tr("Copy all"), this))
{
    // With uniform sizes the view measures one row instead of millions.
    setUniformItemSizes(true);
    setItemDelegate(new FixedHeightDelegate(this));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setModel(&lines_);

    copyAction_->setShortcut(QKeySequence::Copy);
    copyAction_->setShortcutContext(Qt::WidgetShortcut);
    copyAction_->setShortcutVisibleInContextMenu(true);
    connect(copyAction_, &QAction::triggered, this, &ResultListView::copySelection);
    connect(copyAllAction_, &QAction::triggered, this, &ResultListView::copyAll);
    addAction(copyAction_);
    addAction(copyAllAction_);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ResultListView::updateActions);
    connect(&lines_, &QAbstractItemModel::modelReset, this, &ResultListView::updateActions);
    updateActions();
}

void ResultListView::copySelection()
{
    if (selectionModel()->hasSelection())
        setClipboardText(lines_.linesText(selectionModel()->selection()));
}

void ResultListView::copyAll()
{
    if (lines_.rowCount() > 0)
        setClipboardText(lines_.allLinesText());
}

void ResultListView::keyPressEvent(QKeyEvent* event)
{
    // The item view's own Ctrl+C copies the current row only; a list of
    // results copies every selected line.
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void ResultListView::updateActions()
{
    copyAction_->setEnabled(selectionModel()->hasSelection());
    copyAllAction_->setEnabled(lines_.rowCount() > 0);
}

} // namespace tarnel
