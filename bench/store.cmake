find_package(benchmark REQUIRED)

add_executable(picture_store_bench ${CMAKE_CURRENT_LIST_DIR}/PictureStoreBench.cpp)
target_link_libraries(picture_store_bench PRIVATE lumbra_store benchmark::benchmark_main)
