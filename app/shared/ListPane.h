#pragma once

#include <QKeySequence>
#include <QList>
#include <QTableView>
#include <QUrl>
#include <functional>
#include <optional>

// A list pane: one column of texts under a heading, entries addressed from 1, at most one
// selected unless its rows are made copyable. It shows any list model (setModel). A table view
// with rows of one fixed height: a model of a million rows costs no pass over its rows when it
// is shown (a tree view would lay out and keep an item for every row).
class ListPane : public QTableView
{
    Q_OBJECT

public:
    explicit ListPane(QWidget *parent = nullptr);

    // The heading row over the one column.
    QHeaderView *header() const { return horizontalHeader(); }

    // Adds the pane's column heading (the column itself comes from the model). The heading is
    // also the pane's accessible name, what a screen reader announces for it.
    void addColumnHeading(const QString &text);
    QString columnHeading() const;
    void setColumnWidthTwips(int twips);

    int entryCount() const;
    // The selected entry's 1-based position, or nothing when none is selected.
    std::optional<int> selectedPosition() const;
    // The selected entry's text, or nothing when none is selected.
    std::optional<QString> selectedText() const;
    // Selects the entry at a 1-based position (makes it current too).
    void selectPosition(int position);

    // Appends the text of a 0-based row to a buffer: a model that builds its texts on demand
    // can copy a million rows without a string per row.
    using RowTextAppender = std::function<void(int row, QString &buffer)>;

    // Copyable rows: several rows can be selected (click, Shift+click, Ctrl+click, Ctrl+A) and
    // copied with Ctrl+C or the context menu's "Copy" and "Select All". Off by default. Without
    // an appender a row's text is its model's display text.
    void setRowsCopyable(bool copyable, RowTextAppender appendRowText = {});
    bool rowsCopyable() const { return m_rowsCopyable; }
    // Puts the selected rows on the clipboard, one a line in list order; nothing when none is selected.
    void copySelectedRows();
    // Another way of copying the selected rows, in the context menu right after "Copy" (rows made
    // copyable first). prepare is called once a copy and gives the text of each row.
    void addCopyAction(const QString &caption, const QKeySequence &shortcut, std::function<RowTextAppender()> prepare);

    // Dropped files are taken (and raise OLEDragDrop) instead of being refused. Off by default.
    void setAcceptsFileDrops(bool accepts);

signals:
    // A double-click anywhere on the pane, with or without an entry under it.
    void DblClick();
    // A key pressed in the pane, before the pane itself handles it.
    void KeyDown(int key, Qt::KeyboardModifiers shift);
    // Files (or other links) dropped on the pane, in the order dropped. Raised after the drop has
    // ended, so the program that dragged them is not kept waiting while they are loaded.
    void OLEDragDrop(const QList<QUrl> &urls);
    // The drop itself, passed on to OLEDragDrop through the event queue.
    void filesDropped(const QList<QUrl> &urls, QPrivateSignal);

protected:
    void changeEvent(QEvent *event) override;
    // Home and End go to the first and the last entry, as in any list.
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void fitRowHeight();
    void copySelectedRows(const RowTextAppender &appendRowText);

    bool m_rowsCopyable = false;
    RowTextAppender m_appendRowText;
    bool m_acceptsFileDrops = false;
    QList<QAction *> m_copyActions;
};
