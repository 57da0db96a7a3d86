# rd_platform_smoke: a manual check of the desktop window backend (run it on
# a display, or under Xvfb); not part of the test suite.
if(TARGET rd_window_sdl)
  add_executable(rd_platform_smoke ${CMAKE_CURRENT_LIST_DIR}/platform_smoke.cpp)
  target_link_libraries(rd_platform_smoke PRIVATE rd_window_sdl)
endif()
