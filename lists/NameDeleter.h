#pragma once

#include "lists/ListEditContext.h"
#include "lists/ListKind.h"

#include <optional>

// The panes' Delete/Clear buttons (PushButton4 under the first names, PushButton3 under the
// last names): with the built-in list they delete the selected name from its tables, with
// the user list they empty that kind's user table; then the panes are refilled.
class NameDeleter
{
public:
    explicit NameDeleter(const ListEditContext &context);

    // paneCount and selectedText are what the button's pane holds and has selected; an empty
    // pane does nothing at all.
    void deleteOrClear(ListKind kind, int paneCount, const std::optional<QString> &selectedText);

private:
    const ListEditContext &m_context;
};
