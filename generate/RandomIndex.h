#pragma once

// A position from 1 to n drawn with the random value r (0 <= r < 1): the integer part
// of r * n, plus 1. An empty pane (n = 0) gives 1, which its caller does not use.
int RandomIndex(double r, int n);
