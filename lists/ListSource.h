#pragma once

// Where the names come from: the built-in list (Option9) or the user list (Option8).
// None when neither option is selected (possible through stored settings).
enum class ListSource {
    BuiltIn,
    User,
    None,
};
