#pragma once

#include <QAbstractListModel>
#include <QStringList>

// The entries of a list pane: texts in the order added, addressed from 1 to count()
// as the panes' callers expect, and shown in one column.
class NameListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit NameListModel(QObject *parent = nullptr);

    int count() const { return static_cast<int>(m_names.size()); }
    // 1-based, as the callers address entries.
    const QString &text(int position) const { return m_names.at(position - 1); }
    const QStringList &names() const { return m_names; }

    void clear();
    void append(const QString &name);
    // Replaces every entry at once: one reset instead of a signal per row.
    void setNames(QStringList names);
    void removeAt(int position);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QStringList m_names;
};
