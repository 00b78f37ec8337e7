# Click to paint: an XTest probe, the program with a locator that prints where its buttons are,
# and a bare Qt window with two buttons to compare with.
find_package(X11 REQUIRED COMPONENTS Xtst)
add_executable(click_paint_probe ${CMAKE_CURRENT_LIST_DIR}/click_paint_probe.cpp)
target_link_libraries(click_paint_probe PRIVATE X11::X11 X11::Xtst)
add_executable(sorvinta_click_target ${PROJECT_SOURCE_DIR}/app/main.cpp
               ${CMAKE_CURRENT_LIST_DIR}/widget_locator.cpp)
target_link_libraries(sorvinta_click_target PRIVATE sorvinta_main)
add_dependencies(sorvinta_click_target help_file sorvinta_help_engine)
add_executable(bare_buttons_window ${CMAKE_CURRENT_LIST_DIR}/bare_buttons_window.cpp
               ${CMAKE_CURRENT_LIST_DIR}/widget_locator.cpp)
target_link_libraries(bare_buttons_window PRIVATE Qt6::Widgets)
add_executable(bare_tabs_window ${CMAKE_CURRENT_LIST_DIR}/bare_tabs_window.cpp
               ${CMAKE_CURRENT_LIST_DIR}/widget_locator.cpp)
target_link_libraries(bare_tabs_window PRIVATE Qt6::Widgets)
