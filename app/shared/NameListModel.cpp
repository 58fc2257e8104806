#include "app/shared/NameListModel.h"

NameListModel::NameListModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

void NameListModel::clear()
{
    if (m_names.isEmpty())
        return;
    beginResetModel();
    m_names.clear();
    endResetModel();
}

void NameListModel::append(const QString &name)
{
    const int row = count();
    beginInsertRows(QModelIndex(), row, row);
    m_names.append(name);
    endInsertRows();
}

void NameListModel::setNames(QStringList names)
{
    beginResetModel();
    m_names = std::move(names);
    endResetModel();
}

void NameListModel::removeAt(int position)
{
    if (position < 1 || position > count())
        return;
    beginRemoveRows(QModelIndex(), position - 1, position - 1);
    m_names.removeAt(position - 1);
    endRemoveRows();
}

int NameListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant NameListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_names.at(index.row());
    if (role == Qt::ToolTipRole && m_toolTipOf) {
        const QString toolTip = m_toolTipOf(m_names.at(index.row()));
        return toolTip.isEmpty() ? QVariant() : QVariant(toolTip);
    }
    return {};
}
