# The idle benchmark's yardstick: a bare window that repaints a spectrum-sized panel at the
# block rate.
add_executable(repaint_yardstick repaint_yardstick.cpp)
target_link_libraries(repaint_yardstick PRIVATE Qt6::Widgets)
