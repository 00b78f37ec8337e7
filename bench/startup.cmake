# Start-up: the program itself (its own main) and a minimal Qt Widgets window, each with the
# probe that reports the first complete frame once the X server has it.
find_package(X11 REQUIRED COMPONENTS xcb)
add_executable(sorvinta_first_frame ${PROJECT_SOURCE_DIR}/app/main.cpp first_frame_probe.cpp)
target_link_libraries(sorvinta_first_frame PRIVATE sorvinta_main X11::xcb)
add_dependencies(sorvinta_first_frame help_file sorvinta_help_engine)
add_executable(minimal_window_first_frame minimal_window.cpp first_frame_probe.cpp)
target_link_libraries(minimal_window_first_frame PRIVATE Qt6::Widgets X11::xcb)
