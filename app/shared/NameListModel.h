#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <functional>

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
    // The tooltip of an entry, from its text; an empty one leaves the pane's own tooltip.
    void setToolTips(std::function<QString(const QString &name)> toolTipOf) { m_toolTipOf = std::move(toolTipOf); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QStringList m_names;
    std::function<QString(const QString &name)> m_toolTipOf;
};
