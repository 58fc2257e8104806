#pragma once

// How often each name is drawn: every name alike, or as common as it is in Japan.
enum class Frequency {
    Uniform,
    Real,
};
