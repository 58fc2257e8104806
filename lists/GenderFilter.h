#pragma once

// Which built-in first names take part: Option1 "Both", Option2 "Male Only", Option3 "Female Only".
enum class GenderFilter {
    Both,
    MaleOnly,
    FemaleOnly,
    None,
};
