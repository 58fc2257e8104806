# Compiler warnings shared by every target of the project.
add_library(toviska_warnings INTERFACE)
target_compile_options(toviska_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wcast-align -Wformat=2 -Wimplicit-fallthrough -Wmissing-declarations)
if(TOVISKA_WERROR)
    target_compile_options(toviska_warnings INTERFACE -Werror)
endif()
