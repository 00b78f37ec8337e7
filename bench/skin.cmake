# The frame skin while the window is dragged.
add_executable(skin_drag_bench skin_drag_bench.cpp)
target_link_libraries(skin_drag_bench PRIVATE sorvinta_app sorvinta_bench_widgets_main)
