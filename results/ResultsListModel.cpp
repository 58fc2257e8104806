#include "results/ResultsListModel.h"

ResultsListModel::ResultsListModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

void ResultsListModel::setNames(GeneratedNames names)
{
    beginResetModel();
    m_names = std::move(names);
    endResetModel();
}

void ResultsListModel::setWriting(NameWriting writing)
{
    if (writing == m_names.writing())
        return;
    m_names.setWriting(writing);
    if (!m_names.isEmpty())
        emit dataChanged(index(0), index(m_names.count() - 1), {Qt::DisplayRole});
}

void ResultsListModel::clear()
{
    setNames(GeneratedNames());
}

int ResultsListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_names.count();
}

QVariant ResultsListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_names.count())
        return {};
    if (role == Qt::DisplayRole)
        return m_names.text(index.row() + 1);
    if (role == Qt::ToolTipRole && m_toolTipOf) {
        const QString toolTip = m_toolTipOf(index.row() + 1);
        return toolTip.isEmpty() ? QVariant() : QVariant(toolTip);
    }
    return {};
}
