# Drawing on the software surfaces: a screenful of text, and a whole frame.
if(TARGET rd_window_headless)
  roster_bench(platform_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/platform_bench.cpp LIBS rd_window_headless)
endif()
