find_package(GTest REQUIRED)
include(GoogleTest)

add_executable(picture_store_test ${CMAKE_CURRENT_LIST_DIR}/PictureStoreTest.cpp)
target_link_libraries(picture_store_test PRIVATE lumbra_store SQLite::SQLite3 GTest::gtest_main)
gtest_discover_tests(picture_store_test DISCOVERY_TIMEOUT 30 PROPERTIES TIMEOUT 120)
