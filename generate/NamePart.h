#pragma once

// What each generated entry holds: Option4 "First and Last Name", Option5 "First Name Only",
// Option6 "Last Name Only".
enum class NamePart {
    FirstAndLast,
    FirstOnly,
    LastOnly,
    None,
};

// Whether the entries of a part hold a first name, a last name.
constexpr bool hasFirstName(NamePart part)
{
    return part == NamePart::FirstAndLast || part == NamePart::FirstOnly;
}
constexpr bool hasLastName(NamePart part)
{
    return part == NamePart::FirstAndLast || part == NamePart::LastOnly;
}
