#pragma once

#include "lists/ListEditContext.h"
#include "lists/ListKind.h"

// "Add First Name" (PushButton2) and "Add Last Name" (PushButton5): asks for one name,
// stores it in the chosen list and refills the panes from the database.
class NameAdder
{
public:
    explicit NameAdder(const ListEditContext &context);

    void addName(ListKind kind);

    // The entry as it is stored: apostrophes removed; nothing at all when what is left is
    // spaces only. Spaces around a name stay (the cut to 50 characters is the store's).
    static QString storedEntry(const QString &entry);

private:
    const ListEditContext &m_context;
};
