# Run by CTest before the tests: asks the harness program for its --verify
# checks and writes one test per check to BALLOON_HARNESS_TESTS_FILE. When the
# program cannot list them, the one test left is the listing itself, so its
# output says why.
set(saved_platform "$ENV{QT_QPA_PLATFORM}")
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(
    COMMAND "${BALLOON_HARNESS_PROGRAM}" --verify --list ${BALLOON_HARNESS_EXTRA}
    OUTPUT_VARIABLE checks
    RESULT_VARIABLE status
    TIMEOUT 30)
set(ENV{QT_QPA_PLATFORM} "${saved_platform}")

macro(add_verify_test name)
    string(APPEND script "add_test([==[${name}]==] [==[${BALLOON_HARNESS_PROGRAM}]==]")
    foreach(arg IN ITEMS ${ARGN} ${BALLOON_HARNESS_EXTRA})
        string(APPEND script " [==[${arg}]==]")
    endforeach()
    string(APPEND script ")\nset_tests_properties([==[${name}]==] PROPERTIES "
                         "ENVIRONMENT QT_QPA_PLATFORM=offscreen TIMEOUT ${BALLOON_HARNESS_TIMEOUT})\n")
endmacro()

set(script "")
# One name a line; names hold nothing a CMake list or a glob would read.
string(REGEX MATCHALL "[A-Za-z0-9_.-]+" checks "${checks}")
if(NOT status EQUAL 0 OR NOT checks)
    add_verify_test("${BALLOON_HARNESS_PREFIX}.list_checks" --verify --list)
else()
    foreach(check IN LISTS checks)
        add_verify_test("${BALLOON_HARNESS_PREFIX}.${check}"
            --component "${BALLOON_HARNESS_COMPONENT_DIR}" --verify --only "${check}")
    endforeach()
endif()
file(WRITE "${BALLOON_HARNESS_TESTS_FILE}" "${script}")
