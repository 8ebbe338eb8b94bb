# The .acs fixture writer: plain C++ that writes character files for the
# tests, the fuzzer's seeds and the benchmarks, so it is built with or
# without the tests.
add_library(acs_fixtures STATIC
    ${CMAKE_CURRENT_LIST_DIR}/acswriter.h ${CMAKE_CURRENT_LIST_DIR}/acswriter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/acscompressor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/acsfixtures.h ${CMAKE_CURRENT_LIST_DIR}/acsfixtures.cpp
    ${CMAKE_CURRENT_LIST_DIR}/acshostile.h ${CMAKE_CURRENT_LIST_DIR}/acshostile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/acswalk.h ${CMAKE_CURRENT_LIST_DIR}/acswalk.cpp)
target_link_libraries(acs_fixtures PUBLIC acs_decoder)
target_include_directories(acs_fixtures PUBLIC ${CMAKE_CURRENT_LIST_DIR})
set_target_properties(acs_fixtures PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
