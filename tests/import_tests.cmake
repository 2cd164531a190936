# The FIR importer netglobe-import-firs, through its library.

add_executable(import_tests ${CMAKE_CURRENT_SOURCE_DIR}/import_firs_test.cpp)
target_link_libraries(import_tests PRIVATE netglobe_import GTest::gtest_main)
target_include_directories(import_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(import_tests PRIVATE NETGLOBE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
gtest_discover_tests(import_tests DISCOVERY_TIMEOUT 30)
