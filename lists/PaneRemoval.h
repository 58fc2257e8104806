#pragma once

#include <optional>

class NameListModel;

// Taking a name out of a list pane only (double-click or the Delete key): the database keeps
// it, so the next reload shows it again.
class PaneRemoval
{
public:
    // The Delete key, whatever modifiers are held with it.
    static bool isRemovalKey(int key);

    // Removes the entry at selectedPosition (1-based, nothing when none is selected). Does nothing
    // while the main window shows the busy pointer, or when the pane is empty or nothing is
    // selected. Returns whether an entry was removed.
    static bool removeSelected(bool busy, NameListModel &pane, const std::optional<int> &selectedPosition);
};
