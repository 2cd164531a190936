# The simulated network: its status files read by NetGlobe's parser, its
# server fetched by NetGlobe's client, and the netsim program itself.
add_executable(netsim_tests netsim_test.cpp netsim_server_test.cpp netsim_profile_test.cpp)
target_link_libraries(netsim_tests PRIVATE netsim_lib netglobe_core GTest::gtest_main)
target_include_directories(netsim_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(netsim_tests PRIVATE NETSIM_PATH="$<TARGET_FILE:netsim>")
add_dependencies(netsim_tests netsim)
gtest_discover_tests(netsim_tests DISCOVERY_TIMEOUT 30 PROPERTIES LABELS core)
add_dependencies(core_checks netsim_tests)
