# toviska_add_test(<name> SOURCES <files...> [LIBS <targets...>])
# Builds one Qt Test program against the windows (and so the core) library and registers it with CTest,
# headless on the offscreen platform and with its own throw-away settings and home.
function(toviska_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE toviska_windows toviska_test_support Qt6::Test toviska_warnings ${ARG_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TOVISKA_TEST_DATA=${CMAKE_SOURCE_DIR}/data;TOVISKA_BIN_DIR=${CMAKE_BINARY_DIR}/bin"
        TIMEOUT 300)
endfunction()
