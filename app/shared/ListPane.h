#pragma once

#include <QTreeView>
#include <optional>

// A list pane: one column of texts under a heading, entries addressed from 1, at most one
// selected. It shows any list model (setModel); a model of a million rows costs one layout pass.
class ListPane : public QTreeView
{
    Q_OBJECT

public:
    explicit ListPane(QWidget *parent = nullptr);

    // Adds the pane's column heading (the column itself comes from the model).
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

signals:
    // A double-click anywhere on the pane, with or without an entry under it.
    void DblClick();
    // A key pressed in the pane, before the pane itself handles it.
    void KeyDown(int key, Qt::KeyboardModifiers shift);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
