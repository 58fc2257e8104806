#include "lists/PaneRemoval.h"

#include "app/shared/NameListModel.h"

#include <Qt>

bool PaneRemoval::isRemovalKey(int key)
{
    return key == Qt::Key_Delete;
}

bool PaneRemoval::removeSelected(bool busy, NameListModel &pane, const std::optional<int> &selectedPosition)
{
    if (busy || pane.count() == 0)
        return false;
    if (!selectedPosition || *selectedPosition < 1 || *selectedPosition > pane.count())
        return false;
    pane.removeAt(*selectedPosition);
    return true;
}
