#pragma once

#include "generate/GeneratedNames.h"

#include <QAbstractListModel>
#include <functional>

// The rows of the results list: one per generated name, their texts built when shown, so a
// million rows cost no item each.
class ResultsListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit ResultsListModel(QObject *parent = nullptr);

    const GeneratedNames &names() const { return m_names; }
    int count() const { return m_names.count(); }
    // 1-based, as the list panes are addressed.
    QString text(int position) const { return m_names.text(position); }

    // Replaces every row at once: one reset, not a signal per row.
    void setNames(GeneratedNames names);
    void clear();
    // Shows every row in that writing, keeping the selection and the scroll position.
    void setWriting(NameWriting writing);
    // The tooltip of a 1-based row; an empty one shows none.
    void setToolTips(std::function<QString(int position)> toolTipOf) { m_toolTipOf = std::move(toolTipOf); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    GeneratedNames m_names;
    std::function<QString(int position)> m_toolTipOf;
};
