# korvo_add_test(<name> SOURCES <files...> LIBS <targets...>)
#
# One Qt Test executable per behaviour area, registered with ctest. Every test
# runs on Qt's offscreen platform so that real widgets work without a display,
# and knows the real 7za binary through KORVO_TEST_7ZA.
function(korvo_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test korvo_test_support ${ARG_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
        TIMEOUT 300)
endfunction()
