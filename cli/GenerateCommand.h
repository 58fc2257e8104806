#pragma once

#include "cli/GenerateOptions.h"

// "toviska-cli generate": draws names as the window's generator does, from the lists the
// window would show for the same choices, and streams them out in the chosen format.
class GenerateCommand
{
public:
    explicit GenerateCommand(GenerateOptions options);

    // The exit status: 0, 1 for a failure at run time, 2 for a request the lists cannot meet.
    int run();

private:
    GenerateOptions m_options;
};
