# The help viewer on a large help file that help_bench.sh builds with make_help_project.
add_executable(make_help_project ${CMAKE_CURRENT_LIST_DIR}/make_help_project.cpp)
add_executable(help_bench ${CMAKE_CURRENT_LIST_DIR}/help_bench.cpp)
target_link_libraries(help_bench PRIVATE sorvinta_help_viewer sorvinta_bench_widgets_main)
