# Great-circle routines, static layers and directory lookups (core only).
add_executable(refdata_tests great_circle_test.cpp refdata_test.cpp)
target_link_libraries(refdata_tests PRIVATE netglobe_core GTest::gtest_main)
gtest_discover_tests(refdata_tests DISCOVERY_TIMEOUT 30)

# The globe image conversion needs Qt's image classes but no GL context.
add_executable(texture_tests globe_texture_test.cpp)
target_link_libraries(texture_tests PRIVATE netglobe_gui GTest::gtest_main)
gtest_discover_tests(texture_tests DISCOVERY_TIMEOUT 30
                     PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
