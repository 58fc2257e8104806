#include "app/shared/ListPane.h"

#include "app/shared/SelectedRowsText.h"
#include "app/shared/Twips.h"

#include <QAction>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionHeader>

namespace {
// Shows the pane's own heading over column 1, so any list model can be shown as it is:
// a proxy to supply the heading would cost a forwarded signal per appended row.
class HeadingHeader : public QHeaderView
{
public:
    explicit HeadingHeader(QWidget *parent)
        : QHeaderView(Qt::Horizontal, parent)
    { }

    const QString &heading() const { return m_heading; }
    void setHeading(const QString &text)
    {
        m_heading = text;
        viewport()->update();
    }

protected:
    void initStyleOptionForIndex(QStyleOptionHeader *option, int logicalIndex) const override
    {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        option->text = logicalIndex == 0 ? m_heading : QString();
    }

private:
    QString m_heading;
};
} // namespace

ListPane::ListPane(QWidget *parent)
    : QTableView(parent)
{
    setHorizontalHeader(new HeadingHeader(this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    fitRowHeight();
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // Tab leaves the pane for the next control, as from any list.
    setTabKeyNavigation(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    // The column keeps its set width; the user widens it by dragging, the scroll bar follows.
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(this, &ListPane::filesDropped, this, &ListPane::OLEDragDrop, Qt::QueuedConnection);
}

void ListPane::fitRowHeight()
{
    // One line of text and the room the style leaves around an item's text.
    verticalHeader()->setDefaultSectionSize(
        fontMetrics().height() + 2 * style()->pixelMetric(QStyle::PM_FocusFrameVMargin, nullptr, this) + 2);
}

void ListPane::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitRowHeight();
}

QModelIndex ListPane::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QAbstractItemModel *shown = model();
    if (shown && (cursorAction == MoveHome || cursorAction == MoveEnd)) {
        const int rows = shown->rowCount(rootIndex());
        if (rows == 0)
            return {};
        return shown->index(cursorAction == MoveHome ? 0 : rows - 1, 0, rootIndex());
    }
    return QTableView::moveCursor(cursorAction, modifiers);
}

void ListPane::addColumnHeading(const QString &text)
{
    if (auto *heading = dynamic_cast<HeadingHeader *>(header()))
        heading->setHeading(text);
    setAccessibleName(text);
}

QString ListPane::columnHeading() const
{
    const auto *heading = dynamic_cast<const HeadingHeader *>(header());
    return heading ? heading->heading() : QString();
}

void ListPane::setColumnWidthTwips(int twips)
{
    setColumnWidth(0, Twips::toPixels(twips, this));
}

int ListPane::entryCount() const
{
    const QAbstractItemModel *shown = model();
    return shown ? shown->rowCount(rootIndex()) : 0;
}

std::optional<int> ListPane::selectedPosition() const
{
    const QItemSelectionModel *selection = selectionModel();
    if (!selection)
        return std::nullopt;
    const QModelIndexList rows = selection->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first().row() + 1;
}

std::optional<QString> ListPane::selectedText() const
{
    const std::optional<int> position = selectedPosition();
    if (!position)
        return std::nullopt;
    return model()->index(*position - 1, 0, rootIndex()).data(Qt::DisplayRole).toString();
}

void ListPane::selectPosition(int position)
{
    if (!model() || !selectionModel())
        return;
    const QModelIndex index = model()->index(position - 1, 0, rootIndex());
    if (!index.isValid())
        return;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListPane::setRowsCopyable(bool copyable, RowTextAppender appendRowText)
{
    m_appendRowText = std::move(appendRowText);
    if (copyable == m_rowsCopyable)
        return;
    m_rowsCopyable = copyable;
    if (!copyable) {
        qDeleteAll(m_copyActions);
        m_copyActions.clear();
        setContextMenuPolicy(Qt::DefaultContextMenu);
        setSelectionMode(QAbstractItemView::SingleSelection);
        return;
    }
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto *copy = new QAction(QStringLiteral("Copy"), this);
    copy->setShortcut(QKeySequence::Copy);
    connect(copy, &QAction::triggered, this, qOverload<>(&ListPane::copySelectedRows));
    auto *selectEverything = new QAction(QStringLiteral("Select All"), this);
    selectEverything->setShortcut(QKeySequence::SelectAll);
    connect(selectEverything, &QAction::triggered, this, &ListPane::selectAll);
    for (QAction *action : {copy, selectEverything}) {
        // Only while the pane has the focus: Ctrl+C in a text box copies its text.
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
        m_copyActions.append(action);
    }
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void ListPane::copySelectedRows()
{
    copySelectedRows(m_appendRowText);
}

void ListPane::copySelectedRows(const RowTextAppender &appendRowText)
{
    const QItemSelectionModel *selection = selectionModel();
    if (!selection || !selection->hasSelection())
        return;
    // The clipboard takes the one string as it is; no copy of it stays here.
    QGuiApplication::clipboard()->setText(SelectedRowsText(selection->selection(), appendRowText));
}

void ListPane::addCopyAction(
    const QString &caption, const QKeySequence &shortcut, std::function<RowTextAppender()> prepare)
{
    auto *action = new QAction(caption, this);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this, [this, prepare = std::move(prepare)] {
        if (selectionModel() && selectionModel()->hasSelection())
            copySelectedRows(prepare());
    });
    // Right after "Copy", the first of the copy actions.
    insertAction(m_copyActions.size() > 1 ? m_copyActions.at(1) : nullptr, action);
    m_copyActions.insert(1, action);
}

void ListPane::setAcceptsFileDrops(bool accepts)
{
    m_acceptsFileDrops = accepts;
    // Drops land on the viewport, which passes them on to the drag and drop events below.
    setAcceptDrops(accepts);
    viewport()->setAcceptDrops(accepts);
}

namespace {
// A dropped file is read, never moved or linked, whatever the source proposes (a Shift-drag
// proposes a move, after which a file manager may delete the original). A source that does not
// offer a copy at all is refused: Qt would otherwise fall back to the source's own action.
bool acceptAsCopy(QDropEvent *event)
{
    if (!event->possibleActions().testFlag(Qt::CopyAction)) {
        event->ignore();
        return false;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}
} // namespace

void ListPane::dragEnterEvent(QDragEnterEvent *event)
{
    if (m_acceptsFileDrops && event->mimeData()->hasUrls())
        acceptAsCopy(event);
    else
        QTableView::dragEnterEvent(event);
}

void ListPane::dragMoveEvent(QDragMoveEvent *event)
{
    if (m_acceptsFileDrops && event->mimeData()->hasUrls())
        acceptAsCopy(event);
    else
        QTableView::dragMoveEvent(event);
}

void ListPane::dropEvent(QDropEvent *event)
{
    if (!m_acceptsFileDrops || !event->mimeData()->hasUrls()) {
        QTableView::dropEvent(event);
        return;
    }
    if (acceptAsCopy(event))
        emit filesDropped(event->mimeData()->urls(), QPrivateSignal());
}

void ListPane::keyPressEvent(QKeyEvent *event)
{
    emit KeyDown(event->key(), event->modifiers());
    QTableView::keyPressEvent(event);
}

void ListPane::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    emit DblClick();
}
