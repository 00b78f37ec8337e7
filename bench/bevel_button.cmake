# The bevel buttons: preparing the main window's eleven, and one paint unchanged and forced.
add_executable(bevel_button_bench bevel_button_bench.cpp)
target_link_libraries(bevel_button_bench PRIVATE sorvinta_app sorvinta_bench_widgets_main)
