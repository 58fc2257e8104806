#pragma once

// What each generated entry holds: Option4 "First and Last Name", Option5 "First Name Only",
// Option6 "Last Name Only".
enum class NamePart {
    FirstAndLast,
    FirstOnly,
    LastOnly,
    None,
};
