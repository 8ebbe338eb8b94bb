# The two CMake functions of a balloon component project. The same file serves
# this repository's own components and, installed with the SDK, everyone
# else's; both see the targets BalloonHarness::component,
# BalloonHarness::fennick and BalloonHarness::morrowby.

set(_BALLOON_HARNESS_LIST_CHECKS "${CMAKE_CURRENT_LIST_DIR}/BalloonHarnessListChecks.cmake")

# balloon_harness_add_component(<target> <sources and metadata .json>...)
# Builds a component plugin, <target>.so, that the harness programs load.
function(balloon_harness_add_component target)
    # Qt 6.4's qt_add_plugin takes no sources of its own.
    qt_add_plugin(${target} SHARED)
    target_sources(${target} PRIVATE ${ARGN})
    target_link_libraries(${target} PRIVATE BalloonHarness::component Qt6::Widgets)
    # The metadata file is read by moc.
    set_target_properties(${target} PROPERTIES PREFIX "" AUTOMOC ON)
endfunction()

# balloon_harness_add_verify_tests(<target> [PROGRAM fennick|morrowby]
#                                  [SNAPSHOTS <dir>] [TIMEOUT <seconds>])
# One CTest test per --verify check, named <target>.<check>, each running that
# one check headless against the folder that holds <target>. The checks are
# listed from the program when CTest runs, so a newer harness brings its new
# checks without a change here.
function(balloon_harness_add_verify_tests target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "PROGRAM;SNAPSHOTS;TIMEOUT" "")
    if(arg_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "balloon_harness_add_verify_tests: unknown arguments ${arg_UNPARSED_ARGUMENTS}")
    endif()
    if(NOT arg_PROGRAM)
        set(arg_PROGRAM fennick)
    endif()
    if(NOT arg_PROGRAM MATCHES "^(fennick|morrowby)$")
        message(FATAL_ERROR "balloon_harness_add_verify_tests: PROGRAM is fennick or morrowby, not ${arg_PROGRAM}")
    endif()
    # A check is cut off by the program after 6 s; this also covers the
    # program's start.
    if(NOT arg_TIMEOUT)
        set(arg_TIMEOUT 60)
    endif()
    set(extra "")
    if(arg_SNAPSHOTS)
        get_filename_component(snapshots "${arg_SNAPSHOTS}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
        set(extra --snapshots "${snapshots}")
    endif()

    set(base "${CMAKE_CURRENT_BINARY_DIR}/${target}_${arg_PROGRAM}_verify")
    set(tests_file "${base}_tests.cmake")
    set(program "$<TARGET_FILE:BalloonHarness::${arg_PROGRAM}>")
    # Listed again when the program or these settings changed.
    file(GENERATE OUTPUT "${base}_include.cmake" CONTENT
"if(NOT EXISTS [==[${tests_file}]==] OR
   NOT [==[${tests_file}]==] IS_NEWER_THAN [==[${program}]==] OR
   NOT [==[${tests_file}]==] IS_NEWER_THAN \"\${CMAKE_CURRENT_LIST_FILE}\")
  set(BALLOON_HARNESS_PROGRAM [==[${program}]==])
  set(BALLOON_HARNESS_PREFIX [==[${target}]==])
  set(BALLOON_HARNESS_COMPONENT_DIR [==[$<TARGET_FILE_DIR:${target}>]==])
  set(BALLOON_HARNESS_EXTRA [==[${extra}]==])
  set(BALLOON_HARNESS_TIMEOUT [==[${arg_TIMEOUT}]==])
  set(BALLOON_HARNESS_TESTS_FILE [==[${tests_file}]==])
  include([==[${_BALLOON_HARNESS_LIST_CHECKS}]==])
endif()
include([==[${tests_file}]==])
")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${base}_include.cmake")
endfunction()
