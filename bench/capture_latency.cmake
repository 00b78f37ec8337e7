# Sound to screen: frames per second and the age of the newest block when its frame is drawn.
add_executable(capture_latency capture_latency.cpp)
target_link_libraries(capture_latency PRIVATE sorvinta_capture sorvinta_platform_audio)
