# Checks of the shipped reference data (data/) and of the tools that make it.

add_executable(data_tests ${CMAKE_CURRENT_SOURCE_DIR}/data_files_test.cpp)
target_link_libraries(data_tests PRIVATE netglobe_core GTest::gtest_main)
target_compile_definitions(data_tests PRIVATE NETGLOBE_DATA_DIR="${PROJECT_SOURCE_DIR}/data")
gtest_discover_tests(data_tests DISCOVERY_TIMEOUT 30 PROPERTIES LABELS core)
add_dependencies(core_checks data_tests)

# The data tools need their npm packages, which only a developer who ran
# tools/make-data.sh has: without them nothing is registered, so a build
# without registry access still passes. The scripts exit 77 when a source
# they need (the globe image package) is missing.
if(EXISTS ${PROJECT_SOURCE_DIR}/tools/node_modules)
  find_program(NETGLOBE_NODE node)
  if(NETGLOBE_NODE)
    add_test(NAME data_reproducible
             COMMAND sh ${PROJECT_SOURCE_DIR}/tools/make-data.sh --check --no-install)
    set_tests_properties(data_reproducible PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300
                         ENVIRONMENT NETGLOBE_IMPORT_FIRS=$<TARGET_FILE:netglobe-import-firs>)
    add_test(NAME data_tools COMMAND sh ${PROJECT_SOURCE_DIR}/tools/test-tools.sh)
    set_tests_properties(data_tools PROPERTIES TIMEOUT 120)
  endif()
endif()
