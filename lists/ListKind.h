#pragma once

// Which pane a list edit works on: the first names (ListView1) or the last names (ListView2).
// The values are the list kinds the load buttons pass on.
enum class ListKind {
    FirstNames = 1,
    LastNames = 2,
};
