# The time of a save within one file system, for a short and a long take.
add_executable(save_bench save_bench.cpp)
target_link_libraries(save_bench PRIVATE sorvinta_platform_spool sorvinta_bench_run)
