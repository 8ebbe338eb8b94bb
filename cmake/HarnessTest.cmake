# harness_add_test(<name> <sources>... LIBS <libraries>...)
# One QtTest executable, run offscreen under CTest.
function(harness_add_test name)
    cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
    qt_add_executable(${name} ${T_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HARNESS_COMPONENT_PATH=;QT_LOGGING_RULES=harness.*.debug=false"
        TIMEOUT 120)
endfunction()
